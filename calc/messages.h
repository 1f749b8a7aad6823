#pragma once
// The sentences of the calculation's input-error messages. Each message box shows CR LF and one
// of these under the title "Неправильно заданы параметры".
namespace kalvar::messages {

inline constexpr const char* wrongTemperatures = "Неправильно заданы значения температур.";
inline constexpr const char* inletAbove200 =
    "Данная программа производит расчет теплообменников для температуры сетевой воды не выше 200 С.";
inline constexpr const char* noPlateCount = "Не задано общее число пластин теплообменника.";
inline constexpr const char* plateLimitLabel =
    "Колличество пластин выше допустимого для данного типа теплообменника";
inline constexpr const char* nozzleLimitLabel = "Слишком большая скорость в патрубке теплообменника";

inline constexpr const char* noCatalogueData =
    "Для этого типоразмера пластин нет данных каталога: выберите другой типоразмер или автовыбор.";
inline constexpr const char* noLayoutFits =
    "Ни одна компоновка теплообменника этого типоразмера не подходит: выберите другой типоразмер, "
    "другое число ходов или автовыбор.";
inline constexpr const char* badCustomMedium =
    "Свойства среды «другое» заданы неверно: введите положительные теплоемкость, плотность, вязкость "
    "и теплопроводность.";
inline constexpr const char* ratingNeedsPasses =
    "Для расчета заданного теплообменника выберите число ходов вместо автовыбора.";
inline constexpr const char* tooFewPlates =
    "Общее число пластин слишком мало для выбранного числа ходов: увеличьте его.";
inline constexpr const char* tooManyPlates = "Общее число пластин слишком велико: уменьшите его.";
inline constexpr const char* numberTooLarge = "В исходных данных есть слишком большое число: исправьте его.";
inline constexpr const char* noHeatLoad = "Тепловая нагрузка должна быть больше нуля: задайте ее.";
inline constexpr const char* noHeatedFlow = "Расход нагреваемой среды должен быть больше нуля: задайте его.";
inline constexpr const char* badLossLimits =
    "Допустимые потери давления должны быть больше нуля: задайте их.";
inline constexpr const char* badFouling = "Загрязнение не может быть отрицательным: исправьте его.";
inline constexpr const char* negativeValveLoss =
    "Перепад давления на регулирующем клапане не может быть отрицательным: исправьте его.";
inline constexpr const char* waterOutOfRange =
    "При заданных температурах свойства воды не определены: исправьте температуры.";
inline constexpr const char* searchUnbounded =
    "Теплообменник с такими параметрами подобрать не удалось: проверьте тепловую нагрузку, температуры "
    "и допустимые потери давления.";

} // namespace kalvar::messages
