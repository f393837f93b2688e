#include <cstdio>

#include "app/interval_intake.h"
#include "app/run_state.h"
#include "chart/chart_series.h"
#include "chart/custom_axis_panel.h"
#include "framework/display_check.h"
#include "runtime/exception.h"
#include "runtime/locale_chars.h"

using namespace nitko;

int main(int argc, char** argv) {
  const std::string reason = MissingDisplayReason("Nitkograf");
  if (!reason.empty()) {
    std::fprintf(stderr, "%s\n", reason.c_str());
    return 2;
  }
  try {
    ReadLocaleChars();
    // The window comes later; until then the run's core runs on its own.
    RunState& state = TheRunState();
    PlainTextField me2("poczatek"), me3("koniec");
    TCustomAxisPanel chart(nullptr);
    auto* series1 = new TChartSeries(&chart);
    chart.AddSeries(series1);
    IntakeInterval(state, me2, me3,
                   [](const std::string& m) { std::fprintf(stderr, "%s\n", m.c_str()); });
    TabulateFirstCurve(state, chart);
    return 0;
  } catch (const Exception& e) {
    std::fprintf(stderr, "%s\n", e.Message().c_str());
    return 1;
  }
}
