#ifndef TARN_MODEL_CALCULATOR_PARAMETER_H_
#define TARN_MODEL_CALCULATOR_PARAMETER_H_

#include <string>

namespace tarn {

// The "Parameter" field of a p2 calculator and the text it was opened with. The editor takes the
// field back whichever way the calculator closes, and enters it as a typed p2 (EnterParam).
struct CalculatorParameter {
  std::string text;      // what "Parameter" shows
  std::string original;  // what "Cancel" writes back into it
};

// The text the editor takes back: "OK" keeps what the calculator composed, "Cancel" gives back
// what it was opened with.
inline std::string ClosingParameter(const CalculatorParameter& parameter, bool accepted) {
  return accepted ? parameter.text : parameter.original;
}

}  // namespace tarn

#endif  // TARN_MODEL_CALCULATOR_PARAMETER_H_
