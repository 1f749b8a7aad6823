// zu-demo: a container of the module's controls. It knows them only by ProgID: it creates each served control
// through the registry and the module's class factory, sets properties and calls methods late-bound, builds a
// two-level owner-drawn menu at each Click, answers MeasureItem and logs the events.
//
//     zu-demo                       the window
//     zu-demo --screenshots DIR     opens the menu, selects the greyed line and the sub-menu, and writes
//                                   zu-demo-menu.png and zu-demo-submenu.png into DIR
#include "ZuControls.h"

#include <QApplication>
#include <QDir>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QTimer>
#include <QVBoxLayout>
#include <cstdio>

#include <functional>

namespace {

uint rgb(int r, int g, int b) {
    return static_cast<uint>(r | (g << 8) | (b << 16));
}

// Small pictures of our own, on white (the controls' mask colour).
QPixmap icon(int kind) {
    QPixmap p(16, 16);
    p.fill(Qt::white);
    QPainter painter(&p);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QColor(40, 50, 70));
    switch (kind) {
    case 0: // folder
        painter.setBrush(QColor(235, 190, 70));
        painter.drawRect(1, 4, 13, 9);
        painter.drawRect(1, 2, 6, 2);
        break;
    case 1: // disk
        painter.setBrush(QColor(60, 100, 180));
        painter.drawRect(1, 1, 13, 13);
        painter.setBrush(QColor(230, 230, 230));
        painter.drawRect(4, 2, 7, 4);
        break;
    case 2: // printer
        painter.setBrush(QColor(200, 200, 200));
        painter.drawRect(1, 6, 13, 6);
        painter.setBrush(QColor(250, 250, 250));
        painter.drawRect(4, 1, 7, 5);
        painter.drawRect(4, 10, 7, 5);
        break;
    case 3: // arrow out
        painter.setBrush(QColor(70, 160, 90));
        painter.drawPolygon(QPolygon({QPoint(2, 6), QPoint(8, 6), QPoint(8, 2), QPoint(14, 8), QPoint(8, 14),
                                      QPoint(8, 10), QPoint(2, 10)}));
        break;
    case 4: // gear-like square
        painter.setBrush(QColor(150, 110, 190));
        painter.drawEllipse(2, 2, 11, 11);
        painter.setBrush(Qt::white);
        painter.drawEllipse(6, 6, 3, 3);
        break;
    default: // sheet
        painter.setBrush(QColor(250, 250, 240));
        painter.drawRect(3, 1, 10, 13);
        painter.drawLine(5, 5, 11, 5);
        painter.drawLine(5, 8, 11, 8);
        break;
    }
    return p;
}

QPixmap badge() {
    QPixmap p(22, 11);
    p.fill(Qt::white);
    QPainter painter(&p);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(210, 60, 50));
    painter.drawRoundedRect(0, 0, 22, 11, 3, 3);
    painter.setPen(QColor(255, 254, 254)); // not the mask colour
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(8);
    font.setBold(true);
    painter.setFont(font);
    painter.drawText(QRect(0, 0, 22, 11), Qt::AlignCenter, QStringLiteral("new"));
    return p;
}

struct DemoLine {
    QString caption;
    int picture = -1; // icon kind, -1 for none
    int enabled = -1;
    int checked = 0;
    QString shortCut = QStringLiteral("(none)");
    int height = 22;
    int subMenu = -1; // menu index the line opens
    bool badge = false;
};

class DemoWindow : public QWidget {
    Q_OBJECT
  public:
    DemoWindow() {
        setWindowTitle(QStringLiteral("ZuComponents — контейнер"));
        auto* layout = new QVBoxLayout(this);
        layout->addWidget(new QLabel(QStringLiteral("Элементы, созданные по ProgID:")));
        auto* row = new QHBoxLayout;
        layout->addLayout(row);
        log_ = new QPlainTextEdit;
        log_->setReadOnly(true);
        log_->setFont(QFont(QStringLiteral("DejaVu Sans Mono"), 9));

        menus_[0] = {{QStringLiteral("Открыть"), 0, -1, 0, QStringLiteral("Ctrl+O")},
                     {QStringLiteral("Сохранить"), 1, -1, -1, QStringLiteral("Ctrl+S")},
                     {QString(), -1, -1, 0, QString(), 3},
                     {QStringLiteral("Печать"), 2, 1, 0, QStringLiteral("Ctrl+P")},
                     {QStringLiteral("Экспорт"), 3, -1, 0, QString(), 22, 1},
                     {QStringLiteral("Свойства"), 4, -1, 0, QString(), 22, -1, true},
                     {QString(), -1, -1, 0, QString(), 3},
                     {QStringLiteral("^"), -1, -1, 0, QString(), 14}};
        menus_[1] = {{QStringLiteral("Таблица CSV"), 5, -1, 0, QStringLiteral("Ctrl+1")},
                     {QStringLiteral("Книга XLSX"), 5, -1, -1, QStringLiteral("Ctrl+2")},
                     {QStringLiteral("Документ PDF"), 5, 1, 0, QStringLiteral("Ctrl+3")}};

        for (const zu::ZuClassIdentity& c : zu::classIdentities()) {
            if (c.kind != zu::ZuClassKind::Control || !zu::isServed(c.clsid)) continue;
            const int copies = QLatin1String(c.coclass) == QLatin1String("ZuMenuEx") ? 2 : 1;
            for (int i = 0; i < copies; ++i) {
                QWidget* control = nullptr;
                const ZuHRESULT result = zu::createControl(QLatin1String(c.progId), this, &control);
                if (result < 0) {
                    say(QStringLiteral("%1: не создан (0x%2); зарегистрируйте модуль: zu-regsvr register")
                            .arg(QLatin1String(c.progId))
                            .arg(static_cast<uint>(result), 8, 16, QLatin1Char('0')));
                    continue;
                }
                say(QStringLiteral("%1 создан: %2")
                        .arg(QLatin1String(c.progId), control->metaObject()->className()));
                if (QLatin1String(c.coclass) == QLatin1String("ZuMenuEx"))
                    setUpMenuButton(control, i);
                else if (QLatin1String(c.coclass) == QLatin1String("ZuTreeEnum"))
                    setUpTree(control);
                else if (QLatin1String(c.coclass) == QLatin1String("ZuRichText"))
                    setUpEditor(control);
                else
                    control->setMinimumSize(220, 120);
                row->addWidget(control, 0, Qt::AlignTop);
            }
        }
        row->addStretch();
        layout->addWidget(log_, 1);
        resize(640, 440);
    }

    QWidget* firstMenuButton() const { return buttons_.isEmpty() ? nullptr : buttons_.first(); }

  private slots:
    void onNodeClick(short index, const QString& caption, QObject*, int, int varType, int varObj,
                     const QString& help, const QString& enumString, const QString&, QObject*) {
        say(QStringLiteral("NodeClick(%1, \"%2\", VarType %3, VarObj %4, \"%5\", \"%6\")")
                .arg(index)
                .arg(caption)
                .arg(varType)
                .arg(varObj)
                .arg(help, enumString));
    }
    void onKeyDown(short keyCode, short shift) {
        say(QStringLiteral("RTFKeyDown(%1, %2)").arg(keyCode).arg(shift));
    }
    void onClick() {
        auto* button = qobject_cast<QWidget*>(sender());
        say(QStringLiteral("Click"));
        build(button);
        const QPoint at = button->mapToGlobal(QPoint(0, button->height()));
        zu::invoke(button, "TrackMenu", {0, 0, static_cast<float>(at.x()), static_cast<float>(at.y())});
    }
    void onMenuSelect(int index, const QString& caption, const QString& key, const QString&,
                      const QString& tip, const QPixmap&, const QPixmap&) {
        say(QStringLiteral("MenuSelect(%1, \"%2\", \"%3\", \"%4\")").arg(index).arg(caption, key, tip));
    }
    void onMenuClick(int index, const QString& caption, const QString& key, const QString&, const QString&,
                     const QPixmap&, const QPixmap&) {
        say(QStringLiteral("MenuClick(%1, \"%2\", \"%3\")").arg(index).arg(caption, key));
    }
    // The container's answer: each line's size and its top, as the popup will place it.
    void onMeasureItem(int line, int menu) {
        auto* button = qobject_cast<QWidget*>(sender());
        if (!menus_.count(menu) || line >= static_cast<int>(menus_[menu].size())) return;
        const std::vector<DemoLine>& lines = menus_[menu];
        int top = 0;
        for (int i = 0; i < line; ++i)
            top += lines[i].height;
        QVariant width;
        zu::invoke(button, "GetMaxTextExt",
                   {lines[line].caption + QStringLiteral("      ") + lines[line].shortCut,
                    QStringLiteral("DejaVu Sans"), 0, 0, 0, 9, 0, 0},
                   &width);
        const bool fileMenu = button == buttons_.first() && menu == 0;
        zu::invoke(button, "AddSizeMenuString",
                   {menu, 0, line, lines[line].height, std::max(150, width.toInt() + 80), 24, true, top,
                    fileMenu ? QStringLiteral("ZuComponents") : QString(), 16, rgb(70, 60, 130),
                    rgb(255, 255, 255), !fileMenu});
    }

  private:
    void say(const QString& text) { log_->appendPlainText(text); }

    // The tree browses the first menu button: its properties and its events.
    void setUpTree(QWidget* tree) {
        tree->setMinimumSize(300, 260);
        const QVariant menu = QVariant::fromValue<QObject*>(firstMenuButton());
        QVariant properties, events;
        zu::invoke(tree, "EnumProperty",
                   {QStringLiteral("ZuMenuEx1"), menu, 0, 0, -1, 10, 10, 0, QVariant(), QString()},
                   &properties);
        zu::invoke(tree, "EnumEvents", {QStringLiteral("ZuMenuEx1 events"), menu, 0, 0, QString()}, &events);
        zu::invoke(tree, "ExpantTreeViewString", {properties});
        zu::invoke(tree, "ExpantTreeViewString", {events});
        connect(
            tree,
            SIGNAL(NodeClick(short, QString, QObject*, int, int, int, QString, QString, QString, QObject*)),
            this,
            SLOT(onNodeClick(short, QString, QObject*, int, int, int, QString, QString, QString, QObject*)));
    }

    void setUpEditor(QWidget* editor) {
        editor->setMinimumSize(360, 260);
        zu::invoke(
            editor, "SetText",
            {QStringLiteral("option explicit\n' Нагрузки, кВт\ndim total, i\nfor i = 1 to 10 step 2\n"
                            "\ttotal = total + i * 1.5e3\nnext\nif total > 20000 then msgbox \"много\", "
                            "vbokonly\nrem конец\n")});
        connect(editor, SIGNAL(RTFKeyDown(short, short)), this, SLOT(onKeyDown(short, short)));
    }

    void setUpMenuButton(QWidget* button, int copy) {
        buttons_.append(button);
        button->setProperty("Caption", copy == 0 ? QStringLiteral("Файл") : QStringLiteral("Вид"));
        button->setProperty("Picture", icon(copy == 0 ? 0 : 4));
        button->setProperty("FontName", QStringLiteral("DejaVu Sans"));
        button->setProperty("FontHeight", 9.0f);
        button->setProperty("MenuBackColor", rgb(236, 238, 244));
        button->setProperty("FrameColor", rgb(46, 110, 190));
        button->setProperty("Major", 150);
        button->setProperty("CaptionShadow", copy == 0);
        button->setProperty("FrameForm", copy == 0 ? 1 : 2);
        button->setProperty("LabelForeColor", rgb(255, 255, 255));
        button->setProperty("BackColorLabelArea", rgb(90, 120, 90));
        button->setMinimumSize(110, 28);
        connect(button, SIGNAL(Click()), this, SLOT(onClick()));
        connect(button, SIGNAL(MenuSelect(int, QString, QString, QString, QString, QPixmap, QPixmap)), this,
                SLOT(onMenuSelect(int, QString, QString, QString, QString, QPixmap, QPixmap)));
        connect(button, SIGNAL(MenuClick(int, QString, QString, QString, QString, QPixmap, QPixmap)), this,
                SLOT(onMenuClick(int, QString, QString, QString, QString, QPixmap, QPixmap)));
        connect(button, SIGNAL(MeasureItem(int, int)), this, SLOT(onMeasureItem(int, int)));
    }

    // Both menus, the sub-menu first so that its popup can be named by the line that opens it.
    void build(QWidget* button) {
        std::map<int, int> popups;
        for (int menu : {1, 0}) {
            QVariant popup;
            zu::invoke(button, "CreateMenu", {menu}, &popup);
            popups[menu] = popup.toInt();
            const std::vector<DemoLine>& lines = menus_[menu];
            for (int i = 0; i < static_cast<int>(lines.size()); ++i) {
                const DemoLine& l = lines[i];
                const bool tinted = i % 2 == 1;
                zu::invoke(button, "AddMenuString",
                           {menu,
                            popup,
                            i,
                            l.caption,
                            QStringLiteral("%1.%2").arg(menu).arg(i),
                            QStringLiteral("https://example.invalid/%1").arg(i),
                            QStringLiteral("Подсказка: %1").arg(l.caption),
                            l.picture >= 0 ? QVariant(icon(l.picture)) : QVariant(),
                            0,
                            -1,
                            l.enabled,
                            l.checked,
                            rgb(226, 232, 242),
                            rgb(236, 240, 248),
                            tinted ? rgb(250, 250, 244) : rgb(255, 255, 255),
                            rgb(20, 30, 60),
                            9.0f,
                            0.0f,
                            QStringLiteral("DejaVu Sans"),
                            i == 0 ? -1 : 0,
                            0,
                            0,
                            0,
                            l.shortCut,
                            l.subMenu >= 0 ? popups[l.subMenu] : 0,
                            l.badge ? QVariant(badge()) : QVariant(),
                            1});
            }
        }
    }

    QPlainTextEdit* log_;
    QList<QWidget*> buttons_;
    std::map<int, std::vector<DemoLine>> menus_;
};

// The window and every open popup, composed at their places on the screen.
QImage composite(QWidget* window) {
    QRect area = window->frameGeometry();
    QList<QWidget*> popups;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible() && (w->windowFlags() & Qt::Popup) == Qt::Popup) {
            popups << w;
            area |= w->geometry();
        }
    area.adjust(-8, -8, 8, 8);
    const qreal ratio = window->devicePixelRatioF();
    QImage image(area.size() * ratio, QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    image.fill(QColor(90, 100, 110));
    QPainter painter(&image);
    painter.drawPixmap(window->geometry().topLeft() - area.topLeft(), window->grab());
    for (QWidget* popup : popups)
        painter.drawPixmap(popup->geometry().topLeft() - area.topLeft(), popup->grab());
    return image;
}

void pressKey(int key) {
    if (QWidget* popup = QApplication::activePopupWidget()) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(popup, &press);
    }
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    DemoWindow window;
    window.move(40, 40);
    window.show();
    const QStringList args = app.arguments();
    const int at = args.indexOf(QStringLiteral("--screenshots"));
    if (at < 0) return app.exec();
    if (at + 1 >= args.size()) {
        fprintf(stderr, "zu-demo: --screenshots needs a folder\n");
        return 2;
    }
    const QString folder = args[at + 1];
    QDir().mkpath(folder);
    QWidget* button = window.firstMenuButton();
    if (!button) {
        fprintf(stderr,
                "zu-demo: no menu button was created; register the module first (zu-regsvr register)\n");
        return 1;
    }
    // Steps inside the menu's tracking: the greyed "Печать" selected, then the sub-menu open.
    std::vector<std::function<void()>> steps = {
        [] { pressKey(Qt::Key_Down); },
        [] { pressKey(Qt::Key_Down); },
        [] { pressKey(Qt::Key_Down); },
        [] { pressKey(Qt::Key_Down); },
        [&] { composite(&window).save(folder + QStringLiteral("/zu-demo-menu.png")); },
        [] { pressKey(Qt::Key_Down); },
        [] { pressKey(Qt::Key_Right); },
        [] { pressKey(Qt::Key_Down); },
        [&] { composite(&window).save(folder + QStringLiteral("/zu-demo-submenu.png")); },
        [] { pressKey(Qt::Key_Escape); },
        [] { pressKey(Qt::Key_Escape); },
    };
    size_t next = 0;
    QTimer stepper;
    stepper.setInterval(60);
    QObject::connect(&stepper, &QTimer::timeout, [&] {
        if (!QApplication::activePopupWidget() && next < steps.size()) return; // the menu is not open yet
        if (next < steps.size())
            steps[next++]();
        else
            app.quit();
    });
    stepper.start();
    QTimer::singleShot(300, [button] {
        const QPointF centre(button->width() / 2.0, button->height() / 2.0);
        QMouseEvent press(QEvent::MouseButtonPress, centre, button->mapToGlobal(centre), Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
        QMouseEvent release(QEvent::MouseButtonRelease, centre, button->mapToGlobal(centre), Qt::LeftButton,
                            Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(button, &press);
        QApplication::sendEvent(button, &release);
    });
    return app.exec();
}

#include "zu-demo.moc"
