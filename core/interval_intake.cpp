#include "core/interval_intake.h"

#include <cmath>

#include "core/number_text.h"
#include "runtime/exception.h"
#include "runtime/string_table.h"

namespace nitko {

std::string IntervalPromptMessage() { return LoadResourceString("app.strings", "SIntervalPrompt"); }

bool ValidateInterval(const TextField& me2, const TextField& me3, const InformationDisplay& show) {
  // The ends are stored as doubles: a text that only extended precision can
  // hold would become infinite and spoil the step, so it fails like bad text.
  const auto fitsDouble = [](const std::string& text) {
    return std::isfinite(static_cast<double>(ParseNumber(text)));
  };
  try {
    if (!fitsDouble(me2.GetText()) || !fitsDouble(me3.GetText())) throw EConvertError("");
  } catch (const std::exception&) {
    show(IntervalPromptMessage());
    return true;
  }
  return false;
}

void ReadInterval(RunState& state, const TextField& me2, const TextField& me3,
                  const InformationDisplay& show) {
  if (!ValidateInterval(me2, me3, show)) {
    state.a = static_cast<double>(ParseNumber(me2.GetText()));
    state.b = static_cast<double>(ParseNumber(me3.GetText()));
  }
  if (state.a > state.b) std::swap(state.a, state.b);
  state.step = static_cast<double>((static_cast<Extended>(state.b) - state.a) / RunState::N);
}

void IntakeInterval(RunState& state, TextField& me2, TextField& me3,
                    const InformationDisplay& show) {
  me2.SetText("0");
  me3.SetText("10");
  ReadInterval(state, me2, me3, show);
}

}  // namespace nitko
