// Every property of the three controls, read and written back as a container does it: nothing changes,
// neither the property itself nor any other (a font written back must not move FontHeight).
#include "ZuMenuExCtl.h"
#include "ZuRichTextCtl.h"
#include "ZuTreeEnumCtl.h"

#include <QMetaProperty>
#include <QPixmap>
#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

bool same(const QVariant& a, const QVariant& b) {
    if (a.metaType().id() == QMetaType::QPixmap && b.metaType().id() == QMetaType::QPixmap)
        return a.value<QPixmap>().toImage() == b.value<QPixmap>().toImage();
    return a == b;
}

// The control's own properties and its stock ones, by name, with their values.
QVariantMap snapshot(const QObject& object) {
    QVariantMap values;
    const QMetaObject* meta = object.metaObject();
    for (int i = QWidget::staticMetaObject.propertyCount(); i < meta->propertyCount(); ++i)
        values.insert(QLatin1String(meta->property(i).name()), meta->property(i).read(&object));
    return values;
}

struct ControlCase {
    const char* name;
    std::function<std::unique_ptr<QWidget>()> make;
};

class RoundTrip : public testing::TestWithParam<ControlCase> {};

TEST_P(RoundTrip, EachPropertyWrittenBackAsReadChangesNothing) {
    std::unique_ptr<QWidget> control = GetParam().make();
    const QMetaObject* meta = control->metaObject();
    for (int i = QWidget::staticMetaObject.propertyCount(); i < meta->propertyCount(); ++i) {
        const QMetaProperty property = meta->property(i);
        if (!property.isWritable()) continue;
        SCOPED_TRACE(property.name());
        const QVariantMap before = snapshot(*control);
        ASSERT_TRUE(property.write(control.get(), property.read(control.get())));
        const QVariantMap after = snapshot(*control);
        for (auto it = before.begin(); it != before.end(); ++it)
            EXPECT_TRUE(same(it.value(), after.value(it.key())))
                << it.key().toStdString() << ": " << it.value().toString().toStdString() << " became "
                << after.value(it.key()).toString().toStdString();
    }
}

std::unique_ptr<QWidget> menuButtonWithFontHeight(float height) {
    auto control = std::make_unique<CZuMenuExCtrl>();
    control->setFontName(QStringLiteral("DejaVu Sans"));
    control->setFontHeight(height);
    control->setFontBold(true);
    return control;
}

const ControlCase kControls[] = {
    {"MenuButtonAsCreated", [] { return std::make_unique<CZuMenuExCtrl>(); }},
    // FontHeight 10 gives a 13-pixel font (10 x 1.34 = 13.4, truncated), 9.7 one of 12 (12.998).
    {"MenuButtonFontHeight10", [] { return menuButtonWithFontHeight(10.0f); }},
    {"MenuButtonFontHeight9_7", [] { return menuButtonWithFontHeight(9.7f); }},
    {"MenuButtonFontHeight7_25", [] { return menuButtonWithFontHeight(7.25f); }},
    {"TreeAsCreated", [] { return std::make_unique<CZuTreeEnumCtrl>(); }},
    {"EditorAsCreated", [] { return std::make_unique<CZuRichTextCtrl>(); }},
};

INSTANTIATE_TEST_SUITE_P(Controls, RoundTrip, testing::ValuesIn(kControls),
                         [](const testing::TestParamInfo<ControlCase>& info) {
                             return std::string(info.param.name);
                         });

// A font of another size written through Font gives the FontHeight that the getter turns back into it.
TEST(RoundTripFont, AFontOfAnotherPixelSizeComesBackAtThatSize) {
    CZuMenuExCtrl control;
    for (int pixels : {1, 9, 12, 13, 14, 27, 100}) {
        SCOPED_TRACE(pixels);
        QFont font = control.Font();
        font.setPixelSize(pixels);
        control.setProperty("Font", font);
        EXPECT_EQ(control.Font().pixelSize(), pixels);
        const float height = control.FontHeight();
        control.setProperty("Font", control.property("Font"));
        EXPECT_EQ(control.FontHeight(), height);
    }
}

// A form file keeps an empty font (no size of its own) beside the saved FontHeight; loading it must not
// turn the application's default point size into the height.
TEST(RoundTripFont, AFontWithoutASizeOfItsOwnKeepsTheHeight) {
    CZuMenuExCtrl control;
    control.setFontHeight(12.5f);
    control.setProperty("Font", QFont());
    EXPECT_EQ(control.FontHeight(), 12.5f);
    QFont points;
    points.setPointSize(20);
    control.setProperty("Font", points);
    EXPECT_EQ(control.FontHeight(), 20.0f);
}

} // namespace
