#include "pdf_text.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>

namespace kalvar::testing {

int pdfPageCount(const std::string& path) {
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly)) return -1;
    // Page objects are written uncompressed: "/Type /Page" not followed by "s".
    static const QRegularExpression page(QStringLiteral("/Type\\s*/Page(?![a-zA-Z])"));
    return static_cast<int>(QString::fromLatin1(file.readAll()).count(page));
}

std::optional<std::vector<QString>> pdfPageTexts(const std::string& path) {
    const QString gs = QStandardPaths::findExecutable(QStringLiteral("gs"));
    if (gs.isEmpty()) return std::nullopt;
    const int pages = pdfPageCount(path);
    std::vector<QString> texts;
    for (int p = 1; p <= pages; ++p) {
        QProcess process;
        process.start(gs, {"-q", "-dNOPAUSE", "-dBATCH", "-dSAFER", "-sDEVICE=txtwrite",
                           "-dFirstPage=" + QString::number(p), "-dLastPage=" + QString::number(p),
                           "-sOutputFile=-", QString::fromStdString(path)});
        if (!process.waitForFinished(30000)) return std::nullopt;
        texts.push_back(QString::fromUtf8(process.readAllStandardOutput()));
    }
    return texts;
}

} // namespace kalvar::testing
