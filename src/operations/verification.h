#ifndef TARN_OPERATIONS_VERIFICATION_H_
#define TARN_OPERATIONS_VERIFICATION_H_

#include <string>
#include <string_view>

#include "operations/session.h"

// Reads the settings back from a Tarn and compares them with the configuration, changing
// neither. Every difference becomes a report line; verification shows no messages of its own.

namespace tarn {

inline constexpr std::string_view kVerifyOk = "Verify OK";
inline constexpr std::string_view kVerificationStopped = "Verification Stopped";
// After a group's or pin's name, when a read got no reply at all.
inline constexpr std::string_view kNoResponseLine = "No response received";

// The text of the report window: lines end with CR LF.
class VerificationReport {
 public:
  void Line(std::string_view line);
  // Appended without a line break after it.
  void Append(std::string_view text) { text_ += text; }
  void Clear() { text_.clear(); }
  const std::string& text() const { return text_; }

 private:
  std::string text_;
};

class Verification {
 public:
  explicit Verification(Session& session) : session_(session) {}

  // The three parts; each switches "Bidirectional Comm." on and returns pass or fail.
  bool VerifyGeneralSettings(VerificationReport& report);
  bool VerifyEventControl(VerificationReport& report);
  bool VerifyPins(VerificationReport& report);

  // The three operations; each empties the report first and ends it with its final text.
  bool VerifyAll(VerificationReport& report);
  bool VerifyAllPins(VerificationReport& report);
  bool VerifyEvents(VerificationReport& report);

 private:
  struct Group;
  enum class GroupOutcome { kGoOn, kStop };
  GroupOutcome VerifyGroup(const Group& group, VerificationReport& report, bool& passed);
  // Pin verification of one pin; false ends the verification.
  bool VerifyPin(int pin, VerificationReport& report, bool& passed);
  std::string ShownPin(int pin) const;

  Session& session_;
};

}  // namespace tarn

#endif  // TARN_OPERATIONS_VERIFICATION_H_
