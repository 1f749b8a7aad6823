#include "test_support.h"

#include <csignal>

#include <random>

#include <QColor>
#include <QImage>
#include <QPainter>

#include "../core/scripted_ui.h"
#include "XlsxWriter.h"
#include "xls_fixture.h"

namespace kalvar::testing {

ScratchDir::ScratchDir() {
    std::random_device random;
    path_ = std::filesystem::temp_directory_path() / ("kalvar-reports-" + std::to_string(random()));
    std::filesystem::create_directories(path_);
}

ScratchDir::~ScratchDir() {
    std::error_code error;
    std::filesystem::remove_all(path_, error);
}

void writeFixture(const std::string& path, const FixtureCells& cells) {
    if (path.ends_with(".xlsx")) {
        Workbook book;
        Sheet& sheet = book.addSheet("Лист1");
        for (const auto& [at, value] : cells) {
            if (const auto* d = std::get_if<double>(&value))
                sheet.setNumber(at.first, at.second, *d);
            else
                sheet.setText(at.first, at.second, std::get<std::string>(value));
        }
        writeXlsx(book, path);
    } else {
        XlsSheet sheet;
        sheet.cells = cells;
        writeXlsFixture(path, {sheet});
    }
}

void writePassDrawings(const std::filesystem::path& folder) {
    std::filesystem::create_directories(folder / "picture");
    for (int z = 1; z <= 3; ++z) {
        QImage image(100 * z, 150, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.setPen(QPen(Qt::darkBlue, 3));
        for (int i = 0; i < z; ++i)
            painter.drawRect(10 + 100 * i, 10, 80, 130);
        painter.end();
        image.save(
            QString::fromStdString((folder / "picture" / ("KM " + std::to_string(z) + "x.jpg")).string()),
            "JPG");
    }
}

void calculate(Session& session, int system,
               const std::map<std::string, std::map<std::string, std::string>>& texts,
               const std::map<std::string, std::map<std::string, int>>& lists) {
    selectSystem(session, system);
    for (const auto& [window, controls] : texts)
        for (const auto& [name, text] : controls)
            session.windows.calcWindow(window)->find(name)->text = text;
    for (const auto& [window, controls] : lists)
        for (const auto& [name, index] : controls) {
            Control* c = session.windows.calcWindow(window)->find(name);
            if (c->kind == ControlKind::List)
                c->setListIndex(index);
            else
                c->value = index;
        }
    ScriptedUi ui;
    Calculator calculator(session.state, session.windows, ui);
    calculator.calculateCommand();
}

FileSizeLimit::FileSizeLimit(rlim_t bytes) {
    getrlimit(RLIMIT_FSIZE, &saved_);
    oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit = saved_;
    limit.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
}

FileSizeLimit::~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &saved_);
    std::signal(SIGXFSZ, oldHandler_);
}

} // namespace kalvar::testing
