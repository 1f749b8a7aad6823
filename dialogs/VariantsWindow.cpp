#include "VariantsWindow.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPushButton>
#include <QSplitter>
#include <QTableView>
#include <QVBoxLayout>

#include <cmath>

#include "VariantsModel.h"
#include "calculator.h"
#include "session_copy.h"

#ifdef KALVAR_HAVE_CHARTS
#include <QChart>
#include <QChartView>
#include <QMouseEvent>
#include <QScatterSeries>
#include <QValueAxis>
#endif

using kalvar::Variant;
using kalvar::WindowId;

namespace {

QString titleOf(WindowId id) {
    switch (id) {
    case WindowId::HotWater:
        return QStringLiteral("Варианты ГВС");
    case WindowId::Ventilation:
        return QStringLiteral("Варианты вентиляции");
    default:
        return QStringLiteral("Варианты отопления");
    }
}

// The first message the session's "Расчет" shows, run on a copy: why a window has no variants.
class MessageRecorder : public kalvar::CalcUi {
  public:
    void beep() override {}
    void setBusy(bool) override {}
    void showMessage(kalvar::MessageIcon, const std::string&, const std::string& text) override {
        if (first.empty()) first = text;
    }
    kalvar::LimitDialogAnswers askLimit(const kalvar::LimitDialogRequest&) override {
        kalvar::LimitDialogAnswers answer;
        answer.proceed = true;
        return answer;
    }
    std::string first;
};

QString stopMessage(const kalvar::Session& session) {
    kalvar::Session copy;
    kalvar::startUp(copy, session.state.workDir);
    kalvar::copySession(session, copy);
    MessageRecorder recorder;
    kalvar::Calculator(copy.state, copy.windows, recorder).calculateCommand();
    QString text =
        QString::fromStdString(recorder.first).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text.isEmpty() ? QStringLiteral("Для этого окна нет ни одного варианта.") : text;
}

} // namespace

#ifdef KALVAR_HAVE_CHARTS
// Surface against the larger pressure loss, one point per listed variant: the chosen one and the
// selected one in series of their own, so that they stand out in colour and size.
class VariantsChart : public QChartView {
  public:
    explicit VariantsChart(QWidget* parent) : QChartView(parent) {
        setObjectName(QStringLiteral("variantsChart"));
        setAccessibleName(QStringLiteral("График: поверхность и потери давления"));
        setRenderHint(QPainter::Antialiasing);
        auto* chart = new QChart;
        chart->legend()->setAlignment(Qt::AlignBottom);
        others_ = series(QStringLiteral("варианты"), QColor(70, 110, 180), 8);
        chosen_ = series(QStringLiteral("выбран"), QColor(200, 40, 40), 12);
        selected_ = series(QStringLiteral("выделен"), QColor(250, 170, 0), 14);
        for (QScatterSeries* s : {others_, chosen_, selected_})
            chart->addSeries(s);
        x_ = new QValueAxis;
        y_ = new QValueAxis;
        chart->addAxis(x_, Qt::AlignBottom);
        chart->addAxis(y_, Qt::AlignLeft);
        for (QScatterSeries* s : {others_, chosen_, selected_}) {
            s->attachAxis(x_);
            s->attachAxis(y_);
        }
        // The view made a chart of its own, which it lets go of without deleting.
        QChart* made = this->chart();
        setChart(chart);
        delete made;
    }

    // Points of the listed variants (source rows), with their rows for a click to pick.
    void showVariants(const VariantsModel& model, const std::vector<int>& rows, const QString& lossUnit,
                      int selected) {
        others_->clear();
        chosen_->clear();
        selected_->clear();
        points_.clear();
        double maxX = 0, maxY = 0;
        for (int row : rows) {
            const Variant& v = model.variant(row);
            const QPointF p(VariantsModel::largerLoss(v), v.totalSurface());
            (v.chosen ? chosen_ : others_)->append(p);
            if (row == selected) selected_->append(p);
            points_.emplace_back(p, row);
            maxX = std::max(maxX, p.x());
            maxY = std::max(maxY, p.y());
        }
        x_->setTitleText(QStringLiteral("большая из потерь давления, %1").arg(lossUnit));
        y_->setTitleText(QStringLiteral("F общая, м²"));
        x_->setRange(0, maxX > 0 ? maxX * 1.08 : 1);
        y_->setRange(0, maxY > 0 ? maxY * 1.08 : 1);
        x_->applyNiceNumbers();
        y_->applyNiceNumbers();
    }

    // The source row of the point nearest `point`, or -1.
    int rowAt(const QPointF& point) const {
        int best = -1;
        double bestDistance = 0;
        for (const auto& [p, row] : points_) {
            const QPointF at = chart()->mapToPosition(p);
            const double d = std::hypot(at.x() - point.x(), at.y() - point.y());
            if (best < 0 || d < bestDistance) {
                best = row;
                bestDistance = d;
            }
        }
        return bestDistance <= 12 ? best : -1;
    }

    std::function<void(int)> picked;

  protected:
    void mouseReleaseEvent(QMouseEvent* event) override {
        const int row = rowAt(chart()->mapFromScene(mapToScene(event->position().toPoint())));
        if (row >= 0 && picked) picked(row);
        QChartView::mouseReleaseEvent(event);
    }

  private:
    static QScatterSeries* series(const QString& name, const QColor& colour, double size) {
        auto* s = new QScatterSeries;
        s->setName(name);
        s->setColor(colour);
        s->setBorderColor(colour.darker());
        s->setMarkerSize(size);
        return s;
    }

    QScatterSeries *others_, *chosen_, *selected_;
    QValueAxis *x_, *y_;
    std::vector<std::pair<QPointF, int>> points_;
};
#else
class VariantsChart : public QWidget {};
#endif

VariantsWindow::VariantsWindow(const kalvar::Session& session, WindowId window, Apply apply, QWidget* parent)
    : QWidget(parent, Qt::Window), session_(session), window_(window), onApply_(std::move(apply)),
      model_(new VariantsModel(this)), filter_(new VariantsFilter(this)) {
    setObjectName(QStringLiteral("variantsWindow"));
    setWindowTitle(titleOf(window));
    setAttribute(Qt::WA_DeleteOnClose);

    withinLimits_ = new QCheckBox(QStringLiteral("только в пределах ограничений"), this);
    withinLimits_->setObjectName(QStringLiteral("withinLimitsBox"));
    withinLimits_->setChecked(true);

    filter_->setSourceModel(model_);
    table_ = new QTableView(this);
    table_->setObjectName(QStringLiteral("variantsTable"));
    table_->setAccessibleName(QStringLiteral("Варианты"));
    table_->setModel(filter_);
    table_->setSortingEnabled(true);
    table_->sortByColumn(VariantsModel::Surface, Qt::AscendingOrder);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->verticalHeader()->hide();
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    table_->horizontalHeader()->setStretchLastSection(true);

    message_ = new QLabel(this);
    message_->setObjectName(QStringLiteral("variantsMessage"));
    message_->setWordWrap(true);
    message_->setAlignment(Qt::AlignCenter);
    message_->hide();

    apply_ = new QPushButton(QStringLiteral("Применить"), this);
    apply_->setObjectName(QStringLiteral("applyButton"));
    apply_->setEnabled(false);
    close_ = new QPushButton(QStringLiteral("Закрыть"), this);
    close_->setObjectName(QStringLiteral("closeButton"));

    auto* split = new QSplitter(Qt::Vertical, this);
    auto* tablePart = new QWidget(split);
    auto* tableLayout = new QVBoxLayout(tablePart);
    tableLayout->setContentsMargins(0, 0, 0, 0);
    tableLayout->addWidget(table_);
    tableLayout->addWidget(message_);
    split->addWidget(tablePart);
#ifdef KALVAR_HAVE_CHARTS
    chart_ = new VariantsChart(split);
    chart_->picked = [this](int row) { selectSourceRow(row); };
    chart_->setMinimumHeight(300);
    split->addWidget(chart_);
    split->setStretchFactor(0, 3);
    split->setStretchFactor(1, 2);
#endif

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(withinLimits_);
    buttons->addStretch();
    buttons->addWidget(apply_);
    buttons->addWidget(close_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(split, 1);
    layout->addLayout(buttons);

    setTabOrder(table_, withinLimits_);
    setTabOrder(withinLimits_, apply_);
    setTabOrder(apply_, close_);

    connect(withinLimits_, &QCheckBox::toggled, this, [this](bool on) {
        filter_->setWithinLimitsOnly(on);
        updateChart();
    });
    connect(table_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &VariantsWindow::selectionChanged);
    connect(filter_, &QAbstractItemModel::layoutChanged, this, &VariantsWindow::updateChart);
    connect(apply_, &QPushButton::clicked, this, &VariantsWindow::applySelected);
    connect(close_, &QPushButton::clicked, this, &QWidget::close);
    connect(table_, &QTableView::activated, this, &VariantsWindow::applySelected);
    table_->setMinimumHeight(200);
    resize(1200, 780);
}

VariantsWindow::~VariantsWindow() = default;

QWidget* VariantsWindow::chart() const {
#ifdef KALVAR_HAVE_CHARTS
    return chart_;
#else
    return nullptr;
#endif
}

void VariantsWindow::recompute(const std::vector<kalvar::LimitDialogAnswers>& limitAnswers) {
    std::vector<Variant> variants = kalvar::windowVariants(session_, window_, limitAnswers);
    const bool none = variants.empty();
    model_->setVariants(std::move(variants), session_.windows.units);
    table_->setVisible(!none);
    withinLimits_->setEnabled(!none);
    if (chart_) chart_->setVisible(!none);
    message_->setVisible(none);
    message_->setText(none ? stopMessage(session_) : QString());
    // The chosen variant is the selected row at first: "Применить" then changes nothing.
    int chosenRow = -1;
    for (int row = 0; row < model_->rowCount(); ++row)
        if (model_->variant(row).chosen) chosenRow = row;
    if (chosenRow >= 0) selectSourceRow(chosenRow);
    selectionChanged();
}

const Variant* VariantsWindow::selectedVariant() const {
    const QModelIndexList rows = table_->selectionModel()->selectedRows();
    if (rows.isEmpty()) return nullptr;
    return &model_->variant(filter_->mapToSource(rows.first()).row());
}

void VariantsWindow::selectSourceRow(int sourceRow) {
    const QModelIndex at = filter_->mapFromSource(model_->index(sourceRow, 0));
    if (!at.isValid()) return;
    table_->selectionModel()->select(at, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    table_->setCurrentIndex(at);
    table_->scrollTo(at);
}

void VariantsWindow::selectionChanged() {
    apply_->setEnabled(selectedVariant() != nullptr);
    updateChart();
}

void VariantsWindow::updateChart() {
#ifdef KALVAR_HAVE_CHARTS
    if (!chart_) return;
    std::vector<int> rows;
    for (int row = 0; row < filter_->rowCount(); ++row)
        rows.push_back(filter_->mapToSource(filter_->index(row, 0)).row());
    int selected = -1;
    const QModelIndexList picked = table_->selectionModel()->selectedRows();
    if (!picked.isEmpty()) selected = filter_->mapToSource(picked.first()).row();
    const QString lossUnit =
        session_.windows.units.pressureInKPa ? QStringLiteral("кПа") : QStringLiteral("атм");
    chart_->showVariants(*model_, rows, lossUnit, selected);
#endif
}

void VariantsWindow::applySelected() {
    const Variant* v = selectedVariant();
    if (!v || !onApply_) return;
    const Variant picked = *v; // the table is sized again after the window's "Расчет"
    onApply_(picked.series, picked.passes, picked.units);
}
