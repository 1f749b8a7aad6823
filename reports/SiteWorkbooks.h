#pragma once
// The two workbooks a site may keep in the working directory, read at start-up: the input data
// ("Исходные данные") pre-fill the temperatures and loss limits of the three calculation
// windows; the owner details ("Юридический адрес") head the reports and give the series prefix.
// A reader stops at the first failure, keeps what it had copied, and tells the user in a message
// box titled "Открыть".
#include <functional>
#include <optional>
#include <string>

#include "OwnerDetails.h"
#include "startup.h"

namespace kalvar {

inline constexpr const char* inputWorkbookName = "Исходные данные";
inline constexpr const char* ownerWorkbookName = "Юридический адрес";
inline constexpr const char* openMessageTitle = "Открыть";

// Shows an information message box with one OK button: (title, text).
using MessageBox = std::function<void(const std::string& title, const std::string& text)>;

// The workbook of that base name in the folder: "<name>.xls" when the folder lists exactly that
// name, else "<name>.xlsx" likewise; nullopt when neither is there.
std::optional<std::string> siteWorkbookPath(const std::string& folder, const std::string& baseName);

// Copies the 18 input cells (rows 2, 3, 4, 5, 7, 8 of columns C, D, E of the first sheet) into
// Text2, Text4, Text3, Text5, Text6, Text7 of Form3, Form2 and Form1. False after a failure.
bool readInputWorkbook(WindowSet& windows, const std::string& path, const MessageBox& message);

// Reads B2..B7 of the first sheet and deciphers each value. After a failure the values read
// before it are deciphered too and the rest keep their built-in defaults.
OwnerDetails readOwnerWorkbook(const std::string& path, const MessageBox& message, bool* ok = nullptr);

// The text of a workbook failure as the message box shows it: "Файл не найден" for number 53,
// else "Произошла ошибка  " followed by the description.
std::string openFailureText(int number, const std::string& description);

// Start-up's part: reads whichever of the two workbooks the working directory holds, sets the
// series prefix, and returns the owner details (built-in ones without the workbook).
// ownerWorkbookFound tells the main window to hide its picture.
OwnerDetails readSiteWorkbooks(Session& session, const MessageBox& message,
                               bool* ownerWorkbookFound = nullptr);

} // namespace kalvar
