#include "cli/simulation_options.h"

#include <array>
#include <string_view>

#include "cli/numbers.h"
#include "link/link.h"

namespace tarn::cli {
namespace {

struct AckChoice {
  std::string_view name;
  sim::WriteAnswer answer;
};
constexpr std::array<AckChoice, 3> kAckChoices = {{
    {"empty", sim::WriteAnswer::kEmpty},
    {"echo", sim::WriteAnswer::kCommand},
    {"message", sim::WriteAnswer::kWholeMessage},
}};

struct ReportChoice {
  std::string_view name;
  sim::PollReports reports;
};
constexpr std::array<ReportChoice, 2> kReportChoices = {{
    {"new", sim::PollReports::kWhenNew},
    {"every", sim::PollReports::kEveryPoll},
}};

// A whole number of milliseconds, 0 or more.
std::optional<int> Milliseconds(const QCommandLineParser& parser, const char* option,
                                std::string& error) {
  const std::string text = parser.value(option).toStdString();
  const std::optional<int> value = ParseNumber(text);
  if (!value || *value < 0) {
    error = std::string("--") + option + " takes milliseconds, not '" + text + "'";
    return std::nullopt;
  }
  return value;
}

template <typename Choices>
auto Chosen(const Choices& choices, const QCommandLineParser& parser, const char* option,
            std::string& error) -> std::optional<typename Choices::value_type> {
  const std::string text = parser.value(option).toStdString();
  for (const auto& choice : choices) {
    if (choice.name == text) return choice;
  }
  error = std::string("--") + option + " takes ";
  for (std::size_t i = 0; i < choices.size(); ++i) {
    error += std::string(i == 0 ? "" : i + 1 == choices.size() ? " or " : ", ") +
             std::string(choices[i].name);
  }
  error += ", not '" + text + "'";
  return std::nullopt;
}

}  // namespace

void AddSimulationOptions(QCommandLineParser& parser) {
  parser.addOption({"ack",
                    "What the Tarn answers to a write: empty (a reply that carries nothing, the "
                    "default), echo (the command) or message (the whole message).",
                    "FORM", "empty"});
  parser.addOption({"reports",
                    "When a poll gets the four-value report: new (only when something happened "
                    "since the last one, the default) or every (at every poll).",
                    "WHEN", "new"});
  parser.addOption({"reply-xaddr", "Repeat the extended address byte in every reply."});
  parser.addOption({"latency", "Milliseconds the Tarn takes before it answers (default 0).", "MS",
                    "0"});
  parser.addOption({"spread",
                    "Up to this many milliseconds more, drawn at random for every answer "
                    "(default 0). --latency, --spread and --adapter-hold together stay below the "
                    "2000 ms a Tarn answers within; the frames' own time on the wire comes on "
                    "top.",
                    "MS", "0"});
  parser.addOption({"seed", "Starts the --spread draws (default 1), so that a run can be repeated.",
                    "N", "1"});
  parser.addOption({"adapter-hold",
                    "Milliseconds a USB-serial adapter holds every reply before the program sees "
                    "it (common adapters: 16; default 0).",
                    "MS", "0"});
}

std::optional<SimulationOptions> ReadSimulationOptions(const QCommandLineParser& parser,
                                                       std::string& error) {
  SimulationOptions options;
  const auto ack = Chosen(kAckChoices, parser, "ack", error);
  if (!ack) return std::nullopt;
  const auto reports = Chosen(kReportChoices, parser, "reports", error);
  if (!reports) return std::nullopt;
  const std::optional<int> latency = Milliseconds(parser, "latency", error);
  if (!latency) return std::nullopt;
  const std::optional<int> spread = Milliseconds(parser, "spread", error);
  if (!spread) return std::nullopt;
  const std::optional<int> hold = Milliseconds(parser, "adapter-hold", error);
  if (!hold) return std::nullopt;
  const std::optional<int> seed = ParseNumber(parser.value("seed").toStdString());
  if (!seed || *seed < 0) {
    error = "--seed takes a whole number, not '" + parser.value("seed").toStdString() + "'";
    return std::nullopt;
  }
  // Past the limit the program gives up on an answer; a Tarn that slow is a fault (--fault late).
  constexpr int kLimitMilliseconds = static_cast<int>(kReplyTimeLimitSeconds * 1000);
  if (static_cast<long long>(*latency) + *spread + *hold >= kLimitMilliseconds) {
    error = "--latency, --spread and --adapter-hold together must stay below " +
            std::to_string(kLimitMilliseconds) + " ms, the time a Tarn answers within";
    return std::nullopt;
  }
  options.choices.write_answer = ack->answer;
  options.choices.poll_reports = reports->reports;
  options.choices.reply_extended_address = parser.isSet("reply-xaddr");
  options.choices.latency_seconds = *latency / 1000.0;
  options.choices.spread_seconds = *spread / 1000.0;
  options.choices.seed = static_cast<std::uint32_t>(*seed);
  options.adapter_hold_seconds = *hold / 1000.0;
  return options;
}

}  // namespace tarn::cli
