#include "app/formularz.h"

#include "chart/chart.h"
#include "chart/chart_classes.h"
#include "chart/fast_line_series.h"
#include "chart/point_series.h"
#include "chart/series_classes.h"
#include "controls/control_classes.h"
#include "controls/gauge.h"
#include "controls/spin_edit.h"
#include "core/first_tabulation.h"
#include "core/interval_intake.h"
#include "core/run_state.h"
#include "dialogs/message_dialogs.h"
#include "framework/application.h"
#include "framework/button.h"
#include "framework/class_registry.h"
#include "framework/colors.h"
#include "framework/custom_edit.h"
#include "framework/form_reader.h"
#include "framework/label.h"
#include "framework/memo.h"
#include "framework/progress_bar.h"
#include "framework/standard_classes.h"
#include "runtime/exception.h"
#include "runtime/locale_chars.h"
#include "runtime/threads.h"
#include "workers/thread_control.h"
#include "workers/thread_error_report.h"
#include "workers/worker_view.h"

namespace nitko {

TFormularz* Formularz = nullptr;

namespace {

std::chrono::milliseconds g_workerPause{100};

// The interval intake reads and writes the two edit fields through this.
class EditField : public TextField {
 public:
  explicit EditField(TCustomEdit& edit) : edit_(edit) {}
  std::string GetText() const override { return edit_.GetText(); }
  void SetText(const std::string& text) override { edit_.SetText(text); }

 private:
  TCustomEdit& edit_;
};

template <class T>
T* Field(const TComponent& form, const char* name) {
  auto* field = dynamic_cast<T*>(form.FindComponent(name));
  if (field == nullptr) throw Exception(std::string("The window has no ") + name);
  return field;
}

void ShowInformation(const std::string& message) {
  ShowMessageDialog(message, MessageDialogKind::mtInformation,
                    {MessageDialogButton::mbOK}, 0);
}

}  // namespace

TFormularz::TFormularz(TComponent* owner) : TForm(owner) {
  handlers_.Add("CSpinEdit1Change", [this](TComponent* s) { CSpinEdit1Change(s); });
  handlers_.Add("BitBtn3Click", [this](TComponent* s) { BitBtn3Click(s); });
  handlers_.Add("BitBtn4Click", [this](TComponent* s) { BitBtn4Click(s); });
  handlers_.Add("BitBtn5Click", [this](TComponent* s) { BitBtn5Click(s); });
  handlers_.Add("BitBtn6Click", [this](TComponent* s) { BitBtn6Click(s); });
  handlers_.Add("BitBtn7Click", [this](TComponent* s) { BitBtn7Click(s); });
  handlers_.Add("BitBtn8Click", [this](TComponent* s) { BitBtn8Click(s); });
  TFormReader(&handlers_).ReadResource(*this, "TFORMULARZ");

  Chart1 = Field<TChart>(*this, "Chart1");
  ME2 = Field<TMaskEdit>(*this, "ME2");
  ME3 = Field<TMaskEdit>(*this, "ME3");
  Label1 = Field<TLabel>(*this, "Label1");
  Label2 = Field<TLabel>(*this, "Label2");
  Series1 = Field<TFastLineSeries>(*this, "Series1");
  Label4 = Field<TLabel>(*this, "Label4");
  BitBtn3 = Field<TBitBtn>(*this, "BitBtn3");
  BitBtn4 = Field<TBitBtn>(*this, "BitBtn4");
  BitBtn5 = Field<TBitBtn>(*this, "BitBtn5");
  BitBtn6 = Field<TBitBtn>(*this, "BitBtn6");
  BitBtn7 = Field<TBitBtn>(*this, "BitBtn7");
  BitBtn8 = Field<TBitBtn>(*this, "BitBtn8");
  CGauge1 = Field<TCGauge>(*this, "CGauge1");
  ProgressBar1 = Field<TProgressBar>(*this, "ProgressBar1");
  Memo1 = Field<TMemo>(*this, "Memo1");
  Series2 = Field<TPointSeries>(*this, "Series2");
  CSpinEdit1 = Field<TCSpinEdit>(*this, "CSpinEdit1");

  RunState& state = TheRunState();
  workers_.reset(new TWorkerView{state, *Series1, *Series2, *Chart1, *CGauge1, *ProgressBar1,
                                 *Memo1, g_workerPause});
  // Closing the window stops and joins the workers while the hand-over to
  // this thread still runs, so none is left waiting on it.
  OnClose = [this](TComponent*, TCloseAction&) { ShutdownWorkers(*workers_); };
  // p follows the spin edit; the first curve below keeps p = 0.
  CSpinEdit1->OnChange = [this](TComponent* s) { CSpinEdit1Change(s); };

  EditField me2(*ME2), me3(*ME3);
  IntakeInterval(state, me2, me3, ShowInformation);
  TabulateFirstCurve(state, [this](double x, double y) { Series1->AddPoint(x, y, "", clDefault); });
}

TFormularz::~TFormularz() {
  if (workers_) ShutdownWorkers(*workers_);
  if (Formularz == this) Formularz = nullptr;
}

void TFormularz::CSpinEdit1Change(TComponent*) {
  // Runs on every keystroke: text that is no number yet ("", "-") stays as
  // typed and p keeps its value; the spin edit repairs it on leaving.
  int32_t value = 0;
  if (CSpinEdit1->TryGetValue(value)) SetWorkerParameter(*workers_, value);
}
void TFormularz::BitBtn3Click(TComponent*) { StartWorker1(*workers_); }
void TFormularz::BitBtn4Click(TComponent*) { SuspendWorker1(*workers_); }
void TFormularz::BitBtn5Click(TComponent*) { ResumeWorker1(*workers_); }
void TFormularz::BitBtn6Click(TComponent*) { StartWorker2(*workers_); }
void TFormularz::BitBtn7Click(TComponent*) { SuspendWorker2(*workers_); }
void TFormularz::BitBtn8Click(TComponent*) { ResumeWorker2(*workers_); }

void SetFormularzWorkerPause(std::chrono::milliseconds pause) {
  g_workerPause = pause;
}

void CreateProgramForms(TApplication& app) {
  ReadLocaleChars();
  RegisterFormularzClasses();
  SetThreadExceptionDisplay(&ShowThreadExceptionReport);
  app.CreateForm(Formularz);
}

void RegisterFormularzClasses() {
  RegisterStandardClasses();
  RegisterControlClasses();
  RegisterChartClasses();
  RegisterSeriesClasses(Classes());
  if (Classes().Find("TFormularz") == nullptr)
    Classes().Register<TFormularz>("TFormularz", "TForm");
}

}  // namespace nitko
