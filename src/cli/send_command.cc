// tarnctl send: one payload out, its reply payload printed in decimal.

#include <QCommandLineParser>
#include <iostream>
#include <vector>

#include "cli/command_line.h"
#include "cli/commands.h"
#include "cli/link_options.h"
#include "cli/numbers.h"
#include "link/link.h"

namespace tarn::cli {
namespace {

std::optional<std::vector<std::uint8_t>> ReadPayload(const QStringList& values,
                                                     std::string& error) {
  std::vector<std::uint8_t> payload;
  for (const QString& text : values) {
    const std::optional<int> value = ParseNumber(text.toStdString());
    if (!value || *value < 0 || *value > 255) {
      error = "payload values are numbers 0..127, not '" + text.toStdString() + "'";
      return std::nullopt;
    }
    payload.push_back(static_cast<std::uint8_t>(*value));
  }
  return payload;
}

}  // namespace

int RunSend(const QStringList& arguments) {
  QCommandLineParser parser;
  parser.setApplicationDescription(
      "Sends one payload (command byte first, values 0..127) to the Tarn and prints the reply "
      "payload as decimal values.");
  parser.addHelpOption();
  AddLinkOptions(parser);
  parser.addPositionalArgument("VALUE", "Payload values, command byte first.", "VALUE...");
  if (const std::optional<int> exit_code = ParseCommandLine(parser, arguments)) return *exit_code;
  std::string error;
  const std::optional<LinkOptions> options = ReadLinkOptions(parser, error);
  const std::optional<std::vector<std::uint8_t>> payload =
      options ? ReadPayload(parser.positionalArguments(), error) : std::nullopt;
  if (!payload) {
    return UsageError(arguments, error);
  }

  TarnConnection connection;
  if (!connection.Connect(*options)) return kExitFailed;
  Link& link = connection.link;

  const bool sent = link.SendTarnMessage(true, *payload);
  if (options->one_way) return sent ? kExitOk : kExitFailed;
  if (!link.reply_valid()) return kExitFailed;
  if (!link.tarn_reply_received()) {
    std::cerr << "tarnctl send: the Tarn did not reply within "
              << static_cast<int>(kReplyTimeLimitSeconds) << " seconds\n";
    return kExitFailed;
  }
  const std::vector<std::uint8_t> reply = link.ReplyPayload();
  // A Tarn may answer a write with nothing but the frame: an empty line says just that.
  if (reply.empty()) std::cerr << "tarnctl send: the reply carries no values\n";
  for (std::size_t i = 0; i < reply.size(); ++i) {
    std::cout << (i ? " " : "") << static_cast<int>(reply[i]);
  }
  std::cout << std::endl;
  return kExitOk;
}

int RunPorts(const QStringList& arguments) {
  QCommandLineParser parser;
  parser.setApplicationDescription(
      "Lists the serial ports that can be opened now, as 'NUMBER DEVICE'. --port takes the "
      "number or the device. Pseudo-terminals are not listed; give their path.");
  parser.addHelpOption();
  if (const std::optional<int> exit_code = ParseCommandLine(parser, arguments)) return *exit_code;
  TarnConnection connection;
  for (const std::string& entry : connection.link.BuildPortList()) std::cout << entry << '\n';
  return kExitOk;
}

}  // namespace tarn::cli
