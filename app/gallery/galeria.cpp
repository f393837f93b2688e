#include "app/gallery/galeria.h"

#include <cstdlib>

#include "controls/calendar.h"
#include "controls/control_classes.h"
#include "controls/directory_outline.h"
#include "controls/outline.h"
#include "controls/performance_graph.h"
#include "framework/button.h"
#include "framework/class_registry.h"
#include "framework/form_reader.h"
#include "framework/label.h"
#include "framework/memory_stream.h"
#include "framework/open_dialog.h"
#include "framework/standard_classes.h"
#include "framework/timer.h"
#include "runtime/date_time.h"
#include "runtime/drive_map.h"
#include "runtime/embedded_resource.h"
#include "runtime/exception.h"
#include "runtime/locale_chars.h"

namespace nitko {

TGaleria* Galeria = nullptr;

namespace {

// The graph's colours, those of the two labels under it in TGALERIA.
constexpr TColor kUserColor = clLime;
constexpr TColor kSystemColor = clRed;

template <class T>
T* Field(const TComponent& form, const char* name) {
  auto* field = dynamic_cast<T*>(form.FindComponent(name));
  if (field == nullptr) throw Exception(std::string("The window has no ") + name);
  return field;
}

}  // namespace

std::string PerMilleText(int perMille) {
  return std::to_string(perMille / 10) + LocaleDecimalChar() + std::to_string(perMille % 10) + " %";
}

TGaleria::TGaleria(TComponent* owner) : TForm(owner) {
  handlers_.Add("Timer1Timer", [this](TComponent* s) { Timer1Timer(s); });
  handlers_.Add("BitBtnSlupkiClick", [this](TComponent* s) { BitBtnSlupkiClick(s); });
  handlers_.Add("BitBtnLinieClick", [this](TComponent* s) { BitBtnLinieClick(s); });
  handlers_.Add("CCalendar1Change", [this](TComponent* s) { CCalendar1Change(s); });
  handlers_.Add("BitBtnPoprzedniRokClick", [this](TComponent* s) { BitBtnPoprzedniRokClick(s); });
  handlers_.Add("BitBtnPoprzedniMiesiacClick",
                [this](TComponent* s) { BitBtnPoprzedniMiesiacClick(s); });
  handlers_.Add("BitBtnNastepnyMiesiacClick",
                [this](TComponent* s) { BitBtnNastepnyMiesiacClick(s); });
  handlers_.Add("BitBtnNastepnyRokClick", [this](TComponent* s) { BitBtnNastepnyRokClick(s); });
  handlers_.Add("BitBtnOtworzClick", [this](TComponent* s) { BitBtnOtworzClick(s); });
  handlers_.Add("BitBtnWygladClick", [this](TComponent* s) { BitBtnWygladClick(s); });
  handlers_.Add("DirectoryOutline1Change", [this](TComponent* s) { DirectoryOutline1Change(s); });
  TFormReader(&handlers_).ReadResource(*this, "TGALERIA");

  Label1 = Field<TLabel>(*this, "Label1");
  PerformanceGraph1 = Field<TPerformanceGraph>(*this, "PerformanceGraph1");
  LabelUzytkownik = Field<TLabel>(*this, "LabelUzytkownik");
  LabelSystem = Field<TLabel>(*this, "LabelSystem");
  LabelObciazenie = Field<TLabel>(*this, "LabelObciazenie");
  BitBtnSlupki = Field<TBitBtn>(*this, "BitBtnSlupki");
  BitBtnLinie = Field<TBitBtn>(*this, "BitBtnLinie");
  Timer1 = Field<TTimer>(*this, "Timer1");
  Label2 = Field<TLabel>(*this, "Label2");
  CCalendar1 = Field<TCCalendar>(*this, "CCalendar1");
  BitBtnPoprzedniRok = Field<TBitBtn>(*this, "BitBtnPoprzedniRok");
  BitBtnPoprzedniMiesiac = Field<TBitBtn>(*this, "BitBtnPoprzedniMiesiac");
  BitBtnNastepnyMiesiac = Field<TBitBtn>(*this, "BitBtnNastepnyMiesiac");
  BitBtnNastepnyRok = Field<TBitBtn>(*this, "BitBtnNastepnyRok");
  LabelData = Field<TLabel>(*this, "LabelData");
  Label3 = Field<TLabel>(*this, "Label3");
  Outline1 = Field<TCustomOutline>(*this, "Outline1");
  BitBtnOtworz = Field<TBitBtn>(*this, "BitBtnOtworz");
  BitBtnWyglad = Field<TBitBtn>(*this, "BitBtnWyglad");
  LabelWyglad = Field<TLabel>(*this, "LabelWyglad");
  Label4 = Field<TLabel>(*this, "Label4");
  DirectoryOutline1 = Field<TCDirectoryOutline>(*this, "DirectoryOutline1");
  LabelKatalog = Field<TLabel>(*this, "LabelKatalog");
  OpenDialog1 = Field<TOpenDialog>(*this, "OpenDialog1");

  TMemoryStream sample(FindResource("sample_outline.txt"));
  Outline1->LoadLines(sample);
  Outline1->ItemAt(1)->Expand();
  ShowLook("przykład");

  const char* home = std::getenv("HOME");
  ShowFolder(home != nullptr ? home : "");

  ShowKind();
  CCalendar1Change(CCalendar1);
  // The first reading only sets the baseline for the next.
  meter_.Sample();
}

TGaleria::~TGaleria() {
  if (Galeria == this) Galeria = nullptr;
}

void TGaleria::Timer1Timer(TComponent*) {
  if (const std::optional<CpuShares> load = meter_.Sample()) {
    // Running totals: bars stack system time on user time, and the system
    // line is the whole load.
    PerformanceGraph1->DataPoint(kUserColor, load->user);
    PerformanceGraph1->DataPoint(kSystemColor, load->user + load->system);
    LabelObciazenie->SetCaption("użytkownik " + PerMilleText(load->user) + ",  system " +
                                PerMilleText(load->system));
  } else {
    LabelObciazenie->SetCaption("Brak odczytu obciążenia procesora (/proc/stat)");
  }
  // Time moves on also without a reading.
  PerformanceGraph1->Update();
}

void TGaleria::BitBtnSlupkiClick(TComponent*) {
  PerformanceGraph1->SetGraphKind(TGraphKind::pgBar);
  ShowKind();
}

void TGaleria::BitBtnLinieClick(TComponent*) {
  PerformanceGraph1->SetGraphKind(TGraphKind::pgLine);
  ShowKind();
}

void TGaleria::CCalendar1Change(TComponent*) {
  const TDateTime date = CCalendar1->CalendarDate();
  LabelData->SetCaption("Wybrana data: " + FormatDateTime("dddd", date) + ", " +
                        FormatDateTime(ShortDateFormat(), date));
}

void TGaleria::BitBtnPoprzedniRokClick(TComponent*) {
  CCalendar1->PrevYear();
}
void TGaleria::BitBtnPoprzedniMiesiacClick(TComponent*) {
  CCalendar1->PrevMonth();
}
void TGaleria::BitBtnNastepnyMiesiacClick(TComponent*) {
  CCalendar1->NextMonth();
}
void TGaleria::BitBtnNastepnyRokClick(TComponent*) {
  CCalendar1->NextYear();
}

void TGaleria::BitBtnOtworzClick(TComponent*) {
  if (OpenDialog1->Execute()) LoadOutlineFile(OpenDialog1->FileName());
}

void TGaleria::LoadOutlineFile(const std::string& fileName) {
  Outline1->LoadFromFile(fileName);
  ShowLook(fileName.substr(fileName.find_last_of('/') + 1));
}

void TGaleria::BitBtnWygladClick(TComponent*) {
  Outline1->SetLook(static_cast<TOutlineLook>((static_cast<int>(Outline1->Look()) + 1) % 6));
  ShowLook(outline_source_);
}

void TGaleria::ShowFolder(const std::string& nativeFolder) {
  std::string path = nativeFolder.empty() ? std::string() : SystemPathOf(nativeFolder);
  if (path.empty()) path = SystemPathOf("/");
  DirectoryOutline1->SetDirectory(path);
  // Its sub-folders in view at once.
  if (const int i = DirectoryOutline1->SelectedIndex(); i > 0) DirectoryOutline1->ItemAt(i)->Expand();
  DirectoryOutline1Change(DirectoryOutline1);
}

void TGaleria::DirectoryOutline1Change(TComponent*) {
  // The outline reports its first tree while the form is still being read.
  if (LabelKatalog == nullptr) return;
  LabelKatalog->SetCaption(DirectoryOutline1->Directory());
}

void TGaleria::ShowLook(const std::string& source) {
  static const char* const kLooks[] = {"sam tekst",
                                       "przyciski i tekst",
                                       "obrazki i tekst",
                                       "przyciski, obrazki i tekst",
                                       "linie drzewa i tekst",
                                       "linie drzewa, obrazki i tekst"};
  outline_source_ = source;
  LabelWyglad->SetCaption(source + ": " + kLooks[static_cast<int>(Outline1->Look())]);
}

void TGaleria::ShowKind() {
  const bool bars = PerformanceGraph1->Kind() == TGraphKind::pgBar;
  BitBtnSlupki->SetEnabled(!bars);
  BitBtnLinie->SetEnabled(bars);
}

void RegisterGaleriaClasses() {
  RegisterStandardClasses();
  RegisterControlClasses();
  if (Classes().Find("TGaleria") == nullptr) Classes().Register<TGaleria>("TGaleria", "TForm");
}

}  // namespace nitko
