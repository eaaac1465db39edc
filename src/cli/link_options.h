#ifndef TARN_CLI_LINK_OPTIONS_H_
#define TARN_CLI_LINK_OPTIONS_H_

#include <QCommandLineParser>
#include <optional>
#include <string>

#include "cli/stderr_prompter.h"
#include "link/link.h"
#include "platform/qt_serial_port.h"
#include "platform/steady_clock.h"

namespace tarn::cli {

// The options every command that talks to a Tarn shares:
// --port, --baud, --module, --xaddr, --tunnel, --one-way, --verbose.
struct LinkOptions {
  std::string port;
  int bit_rate_index = kDefaultBitRateIndex;
  int module_address = 0;
  std::optional<int> extended_address;
  bool tunnel = false;
  bool one_way = false;
  bool verbose = false;
};

void AddLinkOptions(QCommandLineParser& parser);

// Reads the options; on a usage error returns nullopt with the reason in `error`.
std::optional<LinkOptions> ReadLinkOptions(const QCommandLineParser& parser, std::string& error);

// Sets the link up as the options say and opens the port (and switches tunnelling on). Returns
// false when the link cannot be used; the reason has been shown.
bool ConnectLink(const LinkOptions& options, Link& link);

// Prints what the window would show of the link (response field, communication log).
class VerboseLinkListener : public LinkListener {
 public:
  void ResponseTextChanged(std::string_view text) override;
  void CommunicationLogLine(std::string_view line) override;
};

// The program's side of the line to one Tarn: the clock, the Qt serial port, messages on standard
// error, and the link over them.
class TarnConnection {
 public:
  explicit TarnConnection(bool answer_yes = false)
      : port(clock), prompter(answer_yes), link(port, clock, prompter) {}

  // Sets the link up as the options say (with --verbose, shows the traffic) and connects it.
  bool Connect(const LinkOptions& options) {
    if (options.verbose) link.SetListener(&verbose_);
    return ConnectLink(options, link);
  }

  SteadyClock clock;
  QtSerialPort port;
  StderrPrompter prompter;
  Link link;

 private:
  VerboseLinkListener verbose_;
};

}  // namespace tarn::cli

#endif  // TARN_CLI_LINK_OPTIONS_H_
