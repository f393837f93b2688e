#pragma once

#include <string>

#include "framework/form.h"
#include "framework/handler_table.h"
#include "runtime/cpu_load.h"

namespace nitko {

class TBitBtn;
class TCCalendar;
class TCDirectoryOutline;
class TCustomOutline;
class TLabel;
class TOpenDialog;
class TPerformanceGraph;
class TTimer;

// The second program's window: the controls the main window does not
// place, tried out on live data. The performance graph shows this
// machine's processor load, user and system time stacked, once a second;
// the calendar starts at today and its buttons move it by a month or a
// year; the outline shows a text file of tab-indented lines (a sample at
// first) in the look its button steps through; the directory outline
// starts at the user's home folder. Built from the form description
// "TGALERIA".
class TGaleria : public TForm {
 public:
  explicit TGaleria(TComponent* owner);
  ~TGaleria() override;

  // The published fields; set once the description is read.
  TLabel* Label1 = nullptr;
  TPerformanceGraph* PerformanceGraph1 = nullptr;
  TLabel* LabelUzytkownik = nullptr;
  TLabel* LabelSystem = nullptr;
  TLabel* LabelObciazenie = nullptr;
  TBitBtn* BitBtnSlupki = nullptr;
  TBitBtn* BitBtnLinie = nullptr;
  TTimer* Timer1 = nullptr;
  TLabel* Label2 = nullptr;
  TCCalendar* CCalendar1 = nullptr;
  TBitBtn* BitBtnPoprzedniRok = nullptr;
  TBitBtn* BitBtnPoprzedniMiesiac = nullptr;
  TBitBtn* BitBtnNastepnyMiesiac = nullptr;
  TBitBtn* BitBtnNastepnyRok = nullptr;
  TLabel* LabelData = nullptr;
  TLabel* Label3 = nullptr;
  TCustomOutline* Outline1 = nullptr;
  TBitBtn* BitBtnOtworz = nullptr;
  TBitBtn* BitBtnWyglad = nullptr;
  TLabel* LabelWyglad = nullptr;
  TLabel* Label4 = nullptr;
  TCDirectoryOutline* DirectoryOutline1 = nullptr;
  TLabel* LabelKatalog = nullptr;
  TOpenDialog* OpenDialog1 = nullptr;

  // The published handlers.
  void Timer1Timer(TComponent* sender);
  void BitBtnSlupkiClick(TComponent* sender);
  void BitBtnLinieClick(TComponent* sender);
  void CCalendar1Change(TComponent* sender);
  void BitBtnPoprzedniRokClick(TComponent* sender);
  void BitBtnPoprzedniMiesiacClick(TComponent* sender);
  void BitBtnNastepnyMiesiacClick(TComponent* sender);
  void BitBtnNastepnyRokClick(TComponent* sender);
  void BitBtnOtworzClick(TComponent* sender);
  void BitBtnWygladClick(TComponent* sender);
  void DirectoryOutline1Change(TComponent* sender);

  // Replaces the outline's tree by the file's; a file that does not load
  // raises and leaves the tree as it was.
  void LoadOutlineFile(const std::string& fileName);
  // Shows the folder in the directory outline (HOME, else the root when
  // empty or outside every drive).
  void ShowFolder(const std::string& nativeFolder);

 private:
  // The button of the kind shown is the one that cannot be pressed.
  void ShowKind();
  void ShowLook(const std::string& source);

  std::string outline_source_;  // what the outline shows, for its label

  THandlerTable handlers_;
  TCpuLoadMeter meter_;
};

// The one instance; set before its constructor body runs.
extern TGaleria* Galeria;

// "12,3 %": per mille as a percentage with one decimal in the locale's form.
std::string PerMilleText(int perMille);

// Registers TGaleria and every class its description names.
void RegisterGaleriaClasses();

}  // namespace nitko
