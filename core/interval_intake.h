#pragma once

#include <functional>
#include <string>

#include "core/run_state.h"

namespace nitko {

// An edit field as the intake sees it; the main window adapts its ME2 and
// ME3, a build without a window passes plain texts.
class TextField {
 public:
  virtual ~TextField() = default;
  virtual std::string GetText() const = 0;
  virtual void SetText(const std::string& text) = 0;
};

class PlainTextField : public TextField {
 public:
  explicit PlainTextField(std::string text = {}) : text_(std::move(text)) {}
  std::string GetText() const override { return text_; }
  void SetText(const std::string& text) override { text_ = text; }

 private:
  std::string text_;
};

// Tells the user a message: an information message with one OK button.
using InformationDisplay = std::function<void(const std::string& message)>;

// The message shown when an interval text does not convert (decoded from the
// resources).
std::string IntervalPromptMessage();

// Returns true when it failed: either text does not convert. The user has
// then been told once; the second text is not tried after the first failed.
bool ValidateInterval(const TextField& me2, const TextField& me3, const InformationDisplay& show);

// Validates the fields, reads a and b when both convert (else they keep
// their values), orders them and computes the step.
void ReadInterval(RunState& state, const TextField& me2, const TextField& me3,
                  const InformationDisplay& show);

// Puts "0" and "10" into the fields, then reads them as above.
void IntakeInterval(RunState& state, TextField& me2, TextField& me3,
                    const InformationDisplay& show);

}  // namespace nitko
