#include "cli/link_options.h"

#include <algorithm>
#include <cctype>
#include <iostream>

#include "cli/numbers.h"
#include "link/tarn_frame.h"

namespace tarn::cli {

void AddLinkOptions(QCommandLineParser& parser) {
  parser.addOptions({
      {"port", "Serial port: a number of 'tarnctl ports' or a device path.", "PORT"},
      {"baud", "Bit rate: 9600, 19200 (default) or 38400.", "RATE", "19200"},
      {"module", "Module address of the Tarn, 0..15 (default 0).", "N", "0"},
      {"xaddr", "Use extended addressing with extended address N, 0..95.", "N"},
      {"tunnel", "Talk through a Tolvik unit's tunnelling."},
      {"one-way", "Bidirectional communication off: send without asking for replies."},
      {"verbose", "Show every reply and the Tolvik communication log on standard error."},
  });
}

std::optional<LinkOptions> ReadLinkOptions(const QCommandLineParser& parser, std::string& error) {
  LinkOptions options;
  if (!parser.isSet("port")) {
    error = "--port is required";
    return std::nullopt;
  }
  options.port = parser.value("port").toStdString();
  const std::optional<int> baud = ParseNumber(parser.value("baud").toStdString());
  const auto* rate = std::find_if(
      std::begin(kBitRateSettings), std::end(kBitRateSettings), [&](std::string_view settings) {
        return baud && settings.starts_with(std::to_string(*baud) + ",");
      });
  if (rate == std::end(kBitRateSettings)) {
    error = "--baud must be 9600, 19200 or 38400";
    return std::nullopt;
  }
  options.bit_rate_index = static_cast<int>(rate - std::begin(kBitRateSettings));
  const std::optional<int> module = ParseNumber(parser.value("module").toStdString());
  if (!module || *module < 0 || *module > kMaxModuleAddress) {
    error = "--module must be a number from 0 to 15";
    return std::nullopt;
  }
  options.module_address = *module;
  if (parser.isSet("xaddr")) {
    options.extended_address = ParseNumber(parser.value("xaddr").toStdString());
    if (!options.extended_address || *options.extended_address < 0 ||
        *options.extended_address > kMaxExtendedAddress) {
      error = "--xaddr must be a number from 0 to 95";
      return std::nullopt;
    }
  }
  options.tunnel = parser.isSet("tunnel");
  options.one_way = parser.isSet("one-way");
  options.verbose = parser.isSet("verbose");
  return options;
}

bool ConnectLink(const LinkOptions& options, Link& link) {
  link.TakeOverModuleAddress(static_cast<std::uint8_t>(options.module_address));
  link.SetExtendedAddressing(options.extended_address.has_value());
  if (options.extended_address) {
    link.TakeOverExtendedAddress(static_cast<std::uint8_t>(*options.extended_address));
  }
  link.SetBidirectional(!options.one_way);
  link.SelectBitRate(options.bit_rate_index);
  // No "Refresh" button here: a port number missing from the list points at the list command.
  link.SetPortListAdvice("Run \"tarnctl ports\" to list the ports that are there now.");
  link.SetPortGoneAdvice("Plug the adapter in again and run the command again.");
  const bool opened = link.ChoosePort(options.port);
  if (!opened) return false;
  if (options.tunnel) {
    link.SwitchTunnelling(true);
    if (!link.tunnelling()) return false;
  }
  return true;
}

void VerboseLinkListener::ResponseTextChanged(std::string_view text) {
  std::cerr << "response: " << text << '\n';
}

void VerboseLinkListener::CommunicationLogLine(std::string_view line) {
  std::cerr << "tolvik: " << line << '\n';
}

}  // namespace tarn::cli
