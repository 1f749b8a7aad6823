#include "FileOutput.h"

#include <filesystem>

#include <QFile>
#include <QSaveFile>

#include "Workbook.h"

namespace kalvar {

namespace {

// Why a file could not be written, in the program's words.
std::string reason(QFileDevice::FileError error) {
    switch (error) {
    case QFileDevice::ResourceError:
        return "нет места на диске";
    case QFileDevice::OpenError:
    case QFileDevice::PermissionsError:
        return "нет доступа на запись";
    default:
        return "ошибка записи, возможно, нет места на диске";
    }
}

} // namespace

FileOutput::FileOutput(const std::string& path) : path_(path) {
    std::error_code error;
    const auto status = std::filesystem::status(path, error);
    // A device or pipe cannot be replaced by a renamed file, and must not be.
    direct_ = std::filesystem::exists(status) && !std::filesystem::is_regular_file(status);
    const QString name = QString::fromStdString(path);
    if (direct_)
        file_ = std::make_unique<QFile>(name);
    else
        file_ = std::make_unique<QSaveFile>(name);
    if (!file_->open(QIODevice::WriteOnly)) fail();
}

FileOutput::~FileOutput() = default;

QFileDevice& FileOutput::device() {
    return *file_;
}

void FileOutput::write(const std::string& bytes) {
    const auto size = static_cast<qint64>(bytes.size());
    if (file_->write(bytes.data(), size) != size) fail();
}

void FileOutput::commit() {
    if (direct_) {
        if (!file_->flush() || file_->error() != QFileDevice::NoError) fail();
        file_->close();
        if (file_->error() != QFileDevice::NoError) fail();
        return;
    }
    auto& save = static_cast<QSaveFile&>(*file_);
    if (!save.commit()) fail();
}

void FileOutput::fail(const std::string& otherwise) {
    const QFileDevice::FileError error = file_->error();
    if (auto* save = dynamic_cast<QSaveFile*>(file_.get()); save && save->isOpen()) save->cancelWriting();
    throw WorkbookError(
        writeFailedError,
        "Файл \"" + path_ + "\" не записан: " +
            (error == QFileDevice::NoError && !otherwise.empty() ? otherwise : reason(error)));
}

} // namespace kalvar
