#pragma once
// The variants of one calculation window as a table: one row per variant, numbers as numbers under
// the sort role (so that 10 sorts after 9), texts as the window shows them under the display role.
// The chosen variant is bold and marked "выбран".
#include <QAbstractTableModel>
#include <QSortFilterProxyModel>

#include <vector>

#include "variants.h"
#include "window_model.h"

class VariantsModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    enum Column {
        Designation,
        Series,
        Passes,
        Units,
        Plates,
        Surface,
        Margin,
        K,
        LossHeating,
        LossHeated,
        VelocityHeating,
        VelocityHeated,
        NozzleVelocity,
        Weight,
        Limit,
        Chosen,
        ColumnCount
    };
    // The number a column sorts by; a variant without it (no margin of a rating) sorts first.
    static constexpr int SortRole = Qt::UserRole + 1;

    explicit VariantsModel(QObject* parent = nullptr) : QAbstractTableModel(parent) {}

    // The variants and the units the numbers are in (the windows' "Размерность").
    void setVariants(std::vector<kalvar::Variant> variants, const kalvar::UnitSettings& units);
    const kalvar::Variant& variant(int row) const { return variants_[static_cast<size_t>(row)]; }
    // The larger pressure loss of the two media, in the window's pressure unit.
    static double largerLoss(const kalvar::Variant& v);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  private:
    QVariant number(const kalvar::Variant& v, int column) const;
    std::vector<kalvar::Variant> variants_;
    kalvar::UnitSettings units_;
};

// Sorts by the numbers and hides the variants that break a limit while `withinLimitsOnly`.
class VariantsFilter : public QSortFilterProxyModel {
    Q_OBJECT
  public:
    explicit VariantsFilter(QObject* parent = nullptr);
    void setWithinLimitsOnly(bool only);
    bool withinLimitsOnly() const { return withinLimitsOnly_; }

  protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override;

  private:
    bool withinLimitsOnly_ = true;
};
