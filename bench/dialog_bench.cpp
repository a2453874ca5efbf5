// Cost of opening each dialog as the menu does: the form and its view made,
// the load sequence run, the window shown and painted for the first time.
// Runs on whatever platform QT_QPA_PLATFORM names; scripts/bench uses offscreen.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QWidget>
#include <memory>
#include <string_view>

#include "app/form1.h"
#include "controls/app_context.h"
#include "platform/form_id.h"
#include "qt/app_setup.h"
#include "qt/application.h"
#include "qt/form_registry.h"
#include "qt/main_window.h"
#include "qt/qt_platform.h"
#include "settings/project_settings.h"

namespace {

using namespace korvane;

struct Program {
    QtPlatform platform;
    Application app{platform, SystemNumberLocale()};
    AppContext& context = app.context;
    MainWindow& window = app.window;
    Program() { window.show(); }
};

// Made once the application exists, gone before it.
std::unique_ptr<Program> program;

void BM_OpenDialog(benchmark::State& state, FormId id) {
    const FormEntry& entry = FindForm(id);
    for (auto _ : state) {
        std::unique_ptr<Form> form = entry.createForm(program->context);
        std::unique_ptr<QWidget> view(entry.createView(*form, &program->window));
        form->load();
        view->show();
        view->repaint();
        QCoreApplication::processEvents();
        view.reset();  // the view goes before the form it mirrors
    }
}
BENCHMARK_CAPTURE(BM_OpenDialog, Port, FormId::Port)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_OpenDialog, Timer0, FormId::Timer0)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_OpenDialog, Timer1, FormId::Timer1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_OpenDialog, Timer2, FormId::Timer2)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_OpenDialog, Ccp, FormId::Ccp)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_OpenDialog, Sci, FormId::Sci)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_OpenDialog, Guide, FormId::Guide)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    PrepareApplication(app);
    program = std::make_unique<Program>();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    program.reset();
    return 0;
}
