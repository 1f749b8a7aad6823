#include "VariantsModel.h"

#include <QFont>

#include <algorithm>
#include <cmath>

using kalvar::Variant;

namespace {

QString pressureUnit(const kalvar::UnitSettings& units) {
    return units.pressureInKPa ? QStringLiteral("кПа") : QStringLiteral("атм");
}

// Decimals as the windows show these quantities.
int decimalsOf(int column) {
    switch (column) {
    case VariantsModel::Surface:
    case VariantsModel::LossHeating:
    case VariantsModel::LossHeated:
    case VariantsModel::VelocityHeating:
    case VariantsModel::VelocityHeated:
    case VariantsModel::NozzleVelocity:
        return 2;
    case VariantsModel::Margin:
    case VariantsModel::Weight:
        return 1;
    default:
        return 0;
    }
}

} // namespace

void VariantsModel::setVariants(std::vector<Variant> variants, const kalvar::UnitSettings& units) {
    beginResetModel();
    variants_ = std::move(variants);
    units_ = units;
    endResetModel();
}

double VariantsModel::largerLoss(const Variant& v) {
    return std::max(v.results.heatingSide.loss, v.results.heatedSide.loss);
}

int VariantsModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(variants_.size());
}

int VariantsModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant VariantsModel::number(const Variant& v, int column) const {
    const kalvar::WindowResults& r = v.results;
    switch (column) {
    case Series:
        return v.series;
    case Passes:
        return v.passes;
    case Units:
        return v.units;
    case Plates:
        return r.plateCount;
    case Surface:
        return v.totalSurface();
    case Margin:
        return r.margin ? QVariant(*r.margin) : QVariant();
    case K:
        return r.k;
    case LossHeating:
        return r.heatingSide.loss;
    case LossHeated:
        return r.heatedSide.loss;
    case VelocityHeating:
        return r.heatingSide.velocity;
    case VelocityHeated:
        return r.heatedSide.velocity;
    case NozzleVelocity:
        return std::max(r.heatingNozzleVelocity, r.heatedNozzleVelocity);
    case Weight:
        return v.totalWeight() ? QVariant(*v.totalWeight()) : QVariant();
    default:
        return {};
    }
}

QVariant VariantsModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) return {};
    const Variant& v = variant(index.row());
    const int column = index.column();
    if (role == Qt::FontRole && v.chosen) {
        QFont bold;
        bold.setBold(true);
        return bold;
    }
    if (role == Qt::TextAlignmentRole)
        return column == Designation || column == Limit ? QVariant(Qt::AlignLeft | Qt::AlignVCenter)
                                                        : QVariant(Qt::AlignRight | Qt::AlignVCenter);
    if (role == Qt::ToolTipRole && column == Limit && !v.withinLimits())
        return QString::fromStdString(v.limit);
    if (role != Qt::DisplayRole && role != SortRole && role != Qt::AccessibleTextRole) return {};
    switch (column) {
    case Designation:
        return QString::fromStdString(v.results.designation);
    case Limit:
        return QString::fromStdString(v.limit);
    case Chosen:
        return v.chosen ? QStringLiteral("выбран") : QString();
    default:
        break;
    }
    const QVariant value = number(v, column);
    if (role == SortRole) return value.isValid() ? value : QVariant(-1.0);
    if (!value.isValid()) return QString();
    if (value.typeId() == QMetaType::Int) return value;
    const double x = value.toDouble();
    return std::isfinite(x) ? QString::number(x, 'f', decimalsOf(column)) : QString();
}

QVariant VariantsModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    const QString loss = pressureUnit(units_);
    switch (section) {
    case Designation:
        return QStringLiteral("Обозначение");
    case Series:
        return QStringLiteral("Тип");
    case Passes:
        return QStringLiteral("Ходов");
    case Units:
        return QStringLiteral("Теплообм.");
    case Plates:
        return QStringLiteral("Пластин");
    case Surface:
        return QStringLiteral("F общая, м²");
    case Margin:
        return QStringLiteral("Запас, %");
    case K:
        return QStringLiteral("k, Вт/м²С");
    case LossHeating:
        return QStringLiteral("ΔP греющ., %1").arg(loss);
    case LossHeated:
        return QStringLiteral("ΔP нагрев., %1").arg(loss);
    case VelocityHeating:
        return QStringLiteral("w греющ., м/с");
    case VelocityHeated:
        return QStringLiteral("w нагрев., м/с");
    case NozzleVelocity:
        return QStringLiteral("w патрубка, м/с");
    case Weight:
        return QStringLiteral("Масса общая, кг");
    case Limit:
        return QStringLiteral("Ограничение");
    case Chosen:
        return QStringLiteral("Выбор");
    default:
        return {};
    }
}

VariantsFilter::VariantsFilter(QObject* parent) : QSortFilterProxyModel(parent) {
    setSortRole(VariantsModel::SortRole);
}

void VariantsFilter::setWithinLimitsOnly(bool only) {
    withinLimitsOnly_ = only;
    invalidateFilter();
}

bool VariantsFilter::filterAcceptsRow(int sourceRow, const QModelIndex&) const {
    if (!withinLimitsOnly_) return true;
    const auto* model = qobject_cast<const VariantsModel*>(sourceModel());
    return model && model->variant(sourceRow).withinLimits();
}
