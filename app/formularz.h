#pragma once

#include <chrono>
#include <memory>

#include "framework/form.h"
#include "framework/handler_table.h"

namespace nitko {

class TApplication;
class TBitBtn;
class TCGauge;
class TChart;
class TCSpinEdit;
class TFastLineSeries;
class TLabel;
class TMaskEdit;
class TMemo;
class TPointSeries;
class TProgressBar;
struct TWorkerView;

// The program's one window: the chart both workers plot into, their progress
// displays, worker 1's memo, the interval fields, p and the six buttons. It is
// built from the form description "TFORMULARZ".
class TFormularz : public TForm {
 public:
  explicit TFormularz(TComponent* owner);
  // Stops and joins the workers before any control goes.
  ~TFormularz() override;

  // The published fields, in their declaration order; set once the
  // description is read.
  TChart* Chart1 = nullptr;
  TMaskEdit* ME2 = nullptr;
  TMaskEdit* ME3 = nullptr;
  TLabel* Label1 = nullptr;
  TLabel* Label2 = nullptr;
  TFastLineSeries* Series1 = nullptr;
  TLabel* Label4 = nullptr;
  TBitBtn* BitBtn3 = nullptr;
  TBitBtn* BitBtn4 = nullptr;
  TBitBtn* BitBtn5 = nullptr;
  TBitBtn* BitBtn6 = nullptr;
  TBitBtn* BitBtn7 = nullptr;
  TBitBtn* BitBtn8 = nullptr;
  TCGauge* CGauge1 = nullptr;
  TProgressBar* ProgressBar1 = nullptr;
  TMemo* Memo1 = nullptr;
  TPointSeries* Series2 = nullptr;
  TCSpinEdit* CSpinEdit1 = nullptr;

  // The published handlers.
  void CSpinEdit1Change(TComponent* sender);
  void BitBtn3Click(TComponent* sender);
  void BitBtn4Click(TComponent* sender);
  void BitBtn5Click(TComponent* sender);
  void BitBtn6Click(TComponent* sender);
  void BitBtn7Click(TComponent* sender);
  void BitBtn8Click(TComponent* sender);

  // What the workers update; the window's controls and the run state.
  TWorkerView& Workers() { return *workers_; }

 private:
  THandlerTable handlers_;
  std::unique_ptr<TWorkerView> workers_;
};

// The one instance; set before its constructor body runs.
extern TFormularz* Formularz;

// The workers' pause after each point, for windows built afterwards: 100 ms.
// The program never changes it; tests shorten it.
void SetFormularzWorkerPause(std::chrono::milliseconds pause);

// Registers TFormularz and every class its description names.
void RegisterFormularzClasses();

// The program's start-up inside RunProgram: the locale's characters, the
// classes, the display of an error escaping a worker, then the window.
void CreateProgramForms(TApplication& app);

}  // namespace nitko
