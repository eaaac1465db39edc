// tarnctl aspect, pwm and servo: drive one pin of a Tarn live, as the window's "Test" button,
// PWM "<" and servo "<" buttons do.

#include <QCommandLineParser>
#include <optional>
#include <string>

#include "cli/command_line.h"
#include "cli/commands.h"
#include "cli/link_options.h"
#include "cli/numbers.h"
#include "link/link.h"
#include "model/device_configuration.h"
#include "protocol/live_control.h"

namespace tarn::cli {
namespace {

// QCommandLineParser reads "-10" as options, yet a servo position can be negative. Such an
// argument reaches the parser behind this mark, which no option starts with, and NumberArgument
// takes the mark off again.
constexpr QChar kNegativeMark(0xE000);

bool IsNegativeNumber(const QString& text) {
  if (text.size() < 2 || text[0] != '-') return false;
  for (qsizetype i = 1; i < text.size(); ++i) {
    if (!text[i].isDigit()) return false;
  }
  return true;
}

QStringList MarkNegativeNumbers(const QStringList& arguments) {
  QStringList marked;
  bool options_ended = false;
  for (const QString& argument : arguments) {
    if (argument == "--") options_ended = true;
    marked.append(!options_ended && IsNegativeNumber(argument) ? kNegativeMark + argument
                                                               : argument);
  }
  return marked;
}

std::optional<int> NumberArgument(QString text) {
  if (text.startsWith(kNegativeMark)) text.remove(0, 1);
  return ParseNumber(text.toStdString());
}

struct NumberRange {
  const char* name;
  int min;
  int max;
};

constexpr NumberRange kPinRange = {"PIN", 0, kPinCount - 1};

// What distinguishes the three commands: their value, an optional box, and the button pressed.
struct LiveCommand {
  const char* description;
  NumberRange value;
  const char* value_help;
  const char* box;  // nullptr: none
  const char* box_help;
  bool (*press)(LiveControl& live, DeviceConfiguration& config, int value, bool box_ticked);
};

// The PWM and servo "<" buttons: the level, moved gradually when the box is ticked.
template <LiveOutput kOutput>
bool SetLevel(LiveControl& live, DeviceConfiguration&, int value, bool box_ticked) {
  live.SetGradual(kOutput, box_ticked);
  return live.ConfirmLevel(kOutput, value);
}

constexpr const char* kNumberingNote =
    " PIN counts from 0 (0..31), as the Tarn and 'tarnctl send' do; the window shows pins from 1 "
    "when \"Start numbering at 1\" is on. Exits 0 when the Tarn took the message (with --one-way "
    "or --tunnel: when it was sent), 1 when not, 2 on a usage error.";

const LiveCommand kAspectCommand = {
    "Sets the aspect of one pin (live message 0, 0, PIN, ASPECT), as the aspect editor's "
    "\"Test\" button does.",
    {"ASPECT", 0, kMaxAspects - 1},
    "Aspect 0..11, counted from 0.",
    nullptr,
    nullptr,
    [](LiveControl& live, DeviceConfiguration& config, int value, bool) {
      config.current_aspect = static_cast<std::uint8_t>(value);
      return live.TestAspect({});
    },
};

const LiveCommand kPwmCommand = {
    "Sets the PWM level of one pin (live message 0, 38, PIN, LEVEL; 0, 54, ... with --slow).",
    {"LEVEL", kPwmRange.min, kPwmRange.max},
    "PWM level 0..31.",
    "slow",
    "Move to the level slowly.",
    SetLevel<LiveOutput::kPwm>,
};

const LiveCommand kServoCommand = {
    "Moves the servo of one pin (live message 0, 39, PIN, POSITION + 64; 0, 55, ... with "
    "--dynamic).",
    {"POSITION", kServoRange.min, kServoRange.max},
    "Servo position -64..63; a negative one may be written as is.",
    "dynamic",
    "Move the servo dynamically.",
    SetLevel<LiveOutput::kServo>,
};

std::optional<int> ReadInRange(const QString& text, const NumberRange& range, std::string& error) {
  const std::optional<int> value = NumberArgument(text);
  if (!value || *value < range.min || *value > range.max) {
    error = std::string(range.name) + " must be a number from " + std::to_string(range.min) +
            " to " + std::to_string(range.max);
    return std::nullopt;
  }
  return value;
}

int RunLive(const QStringList& arguments, const LiveCommand& command) {
  QCommandLineParser parser;
  parser.setApplicationDescription(QString(command.description) + kNumberingNote);
  parser.addHelpOption();
  AddLinkOptions(parser);
  if (command.box) parser.addOption({command.box, command.box_help});
  parser.addPositionalArgument(kPinRange.name, "Pin 0..31.");
  parser.addPositionalArgument(command.value.name, command.value_help);
  const QStringList marked = MarkNegativeNumbers(arguments);
  if (const std::optional<int> exit_code = ParseCommandLine(parser, marked)) return *exit_code;

  std::string error;
  const std::optional<LinkOptions> options = ReadLinkOptions(parser, error);
  if (!options) return UsageError(arguments, error);
  const QStringList values = parser.positionalArguments();
  if (values.size() != 2) {
    return UsageError(arguments,
                      std::string("expected ") + kPinRange.name + " and " + command.value.name);
  }
  const std::optional<int> pin = ReadInRange(values[0], kPinRange, error);
  const std::optional<int> value =
      pin ? ReadInRange(values[1], command.value, error) : std::nullopt;
  if (!value) return UsageError(arguments, error);

  TarnConnection connection;
  if (!connection.Connect(*options)) return kExitFailed;
  Link& link = connection.link;
  Prompter& prompter = connection.prompter;

  DeviceConfiguration config;
  config.current_pin = static_cast<std::uint8_t>(*pin);
  LiveControl live(link, prompter, config);
  const bool box_ticked = command.box && parser.isSet(command.box);
  if (!command.press(live, config, *value, box_ticked)) return kExitFailed;
  // Live messages ask for no data; on the direct link with "Bidirectional Comm." on, the Tarn's
  // answer, whatever it carries, is the only sign that it took the message. A missing one has been reported.
  if (options->one_way || link.tunnelling()) return kExitOk;
  return link.tarn_reply_received() ? kExitOk : kExitFailed;
}

}  // namespace

int RunAspect(const QStringList& arguments) { return RunLive(arguments, kAspectCommand); }
int RunPwm(const QStringList& arguments) { return RunLive(arguments, kPwmCommand); }
int RunServo(const QStringList& arguments) { return RunLive(arguments, kServoCommand); }

}  // namespace tarn::cli
