// Cost of opening each dialog as the menu does: the form and its view made,
// the load sequence run, the window shown and painted for the first time.
// Runs on whatever platform QT_QPA_PLATFORM names; scripts/bench uses offscreen.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QWidget>
#include <memory>
#include <string_view>

#include "app/app_context.h"
#include "app/form1.h"
#include "app/form_names.h"
#include "qt/app_setup.h"
#include "qt/form_registry.h"
#include "qt/main_window.h"
#include "qt/qt_platform.h"
#include "settings/project_settings.h"

namespace {

using namespace korvane;

struct Program {
    ProjectSettings settings;
    QtPlatform platform;
    AppContext context{settings, platform, SystemNumberLocale()};
    Form1 form{context};
    MainWindow window{form};
    Program() {
        platform.setContext(&context);
        context.mainWindow = &form;
        platform.setMainWindow(&window);
        window.show();
    }
};

// Made once the application exists, gone before it.
std::unique_ptr<Program> program;

void BM_OpenDialog(benchmark::State& state, std::string_view name) {
    const FormEntry* entry = FindForm(std::string(name));
    if (!entry) {
        state.SkipWithError("no such form");
        return;
    }
    for (auto _ : state) {
        std::unique_ptr<Form> form = entry->createForm(program->context);
        std::unique_ptr<QWidget> view(entry->createView(*form, &program->window));
        form->load();
        view->show();
        view->repaint();
        QCoreApplication::processEvents();
        view.reset();  // the view goes before the form it mirrors
    }
}
BENCHMARK_CAPTURE(BM_OpenDialog, Port, form_names::kPort)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_OpenDialog, Timer0, form_names::kTimer0)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_OpenDialog, Timer1, form_names::kTimer1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_OpenDialog, Timer2, form_names::kTimer2)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_OpenDialog, Ccp, form_names::kCcp)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_OpenDialog, Sci, form_names::kSci)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_OpenDialog, Guide, form_names::kGuide)->Unit(benchmark::kMillisecond);

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
