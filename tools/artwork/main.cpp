// Draws the program's artwork: the pass drawings "KM 1x.jpg", "KM 2x.jpg", "KM 3x.jpg" and the
// three-circuit scheme "spv.jpg" of the picture folder, and the fixed pictures of the single
// exchanger, the parallel scheme and the two-stage mixed scheme shown by the picture windows.
// White ground, black lines, red for the heating (network) circuit, blue for the heated one.
//
//   kalvar_artwork <picture folder> <dialogs' picture folder>
#include <QDir>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QtMath>

#include <cstdio>
#include <vector>

namespace {

const QColor heating(200, 30, 30);
const QColor heated(25, 80, 200);
const QColor ink(0, 0, 0);
const QColor steel(235, 235, 235);

QFont font(int pixels, bool bold = false) {
    QFont f("Liberation Sans");
    f.setPixelSize(pixels);
    f.setBold(bold);
    return f;
}

QImage canvas(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

void begin(QPainter& p) {
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
}

// A filled arrow head at `tip`, pointing along the direction from `from`.
void arrowHead(QPainter& p, QPointF from, QPointF tip, const QColor& colour, double size = 11) {
    const double angle = std::atan2(tip.y() - from.y(), tip.x() - from.x());
    QPolygonF head;
    head << tip << tip - QPointF(size * std::cos(angle - 0.4), size * std::sin(angle - 0.4))
         << tip - QPointF(size * std::cos(angle + 0.4), size * std::sin(angle + 0.4));
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawPolygon(head);
}

// A pipe along the points with an arrow at its end.
void pipe(QPainter& p, const std::vector<QPointF>& points, const QColor& colour, bool arrow = true,
          double width = 3) {
    p.setPen(QPen(colour, width, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
    p.setBrush(Qt::NoBrush);
    for (size_t i = 1; i < points.size(); ++i)
        p.drawLine(points[i - 1], points[i]);
    if (arrow && points.size() >= 2) arrowHead(p, points[points.size() - 2], points.back(), colour);
}

// A numbered nozzle badge: a circle in the circuit's colour with the number in it.
void badge(QPainter& p, QPointF centre, const QString& number, const QColor& colour, double radius = 15) {
    p.setPen(QPen(colour, 2.5));
    p.setBrush(Qt::white);
    p.drawEllipse(centre, radius, radius);
    p.setPen(colour);
    p.setFont(font(static_cast<int>(radius * 1.3), true));
    p.drawText(QRectF(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius), Qt::AlignCenter,
               number);
}

void text(QPainter& p, QRectF box, const QString& s, int pixels, int flags = Qt::AlignCenter,
          bool bold = false, const QColor& colour = ink) {
    p.setPen(colour);
    p.setFont(font(pixels, bold));
    p.drawText(box, flags | Qt::TextWordWrap, s);
}

// ---------------------------------------------------------------------------------------------
// Pass drawings, 360 × 540 (the report shows them at 280 × 420 points).

struct Port {
    bool onFramePlate; // else the pressure plate
    bool top;          // else bottom
    bool left;         // else right (seen from the front)
    QString number;
    QColor colour;
};

// The face of a plate (seen from the front) with its four port places.
void plateFace(QPainter& p, QRectF face, const QString& title, const std::vector<Port>& ports,
               bool framePlate) {
    text(p, QRectF(face.left() - 10, face.top() - 26, face.width() + 20, 22), title, 15, Qt::AlignCenter,
         true);
    p.setPen(QPen(ink, 2.5));
    p.setBrush(steel);
    p.drawRoundedRect(face, 10, 10);
    const double inset = 30;
    for (bool top : {true, false})
        for (bool left : {true, false}) {
            const QPointF at(left ? face.left() + inset : face.right() - inset,
                             top ? face.top() + inset + 8 : face.bottom() - inset - 8);
            const Port* port = nullptr;
            for (const Port& candidate : ports)
                if (candidate.onFramePlate == framePlate && candidate.top == top && candidate.left == left)
                    port = &candidate;
            if (port == nullptr) {
                // A closed port place.
                p.setPen(QPen(QColor(120, 120, 120), 1.5, Qt::DashLine));
                p.setBrush(Qt::NoBrush);
                p.drawEllipse(at, 15, 15);
                continue;
            }
            badge(p, at, port->number, port->colour, 17);
        }
}

QImage passDrawing(int passes) {
    QImage image = canvas(360, 540);
    QPainter p(&image);
    begin(p);
    const QString title = passes == 1 ? "Один ход" : passes == 2 ? "Два хода" : "Три хода";
    text(p, QRectF(0, 6, 360, 26), "Схема ходов: " + title, 19, Qt::AlignCenter, true);

    // Side view: frame plate on the left, pressure plate on the right, the plate pack between,
    // narrowed a little so the nozzle numbers keep clear of the edges.
    p.save();
    p.translate(17, 0);
    p.scale(0.93, 1);
    const double top = 92, bottom = 262;
    const double frameLeft = 34, frameRight = 54, pressLeft = 296, pressRight = 314;
    p.setPen(QPen(ink, 2));
    p.setBrush(QColor(90, 90, 90));
    p.drawRect(
        QRectF(frameLeft, top - 22, frameRight - frameLeft, bottom - top + 50)); // frame plate with foot
    p.drawRect(QRectF(pressLeft, top - 10, pressRight - pressLeft, bottom - top + 20));
    p.setPen(QPen(ink, 3));
    p.drawLine(QPointF(frameRight, top - 16), QPointF(338, top - 16));       // upper guide bar
    p.drawLine(QPointF(frameRight, bottom + 16), QPointF(338, bottom + 16)); // lower guide bar
    p.setBrush(QColor(90, 90, 90));
    p.drawRect(QRectF(336, top - 22, 10, bottom - top + 50)); // support column

    // The plates, grouped by pass.
    const double packLeft = frameRight + 6, packRight = pressLeft - 6;
    const int platesPerGroup = 9;
    const double groupWidth = (packRight - packLeft) / passes;
    p.setPen(QPen(QColor(60, 60, 60), 1.2));
    for (int g = 0; g < passes; ++g)
        for (int i = 0; i < platesPerGroup; ++i) {
            const double x = packLeft + g * groupWidth + (i + 0.5) * groupWidth / platesPerGroup;
            p.drawLine(QPointF(x, top), QPointF(x, bottom));
        }
    p.setPen(QPen(ink, 4));
    for (int g = 1; g < passes; ++g) {
        const double x = packLeft + g * groupWidth;
        p.drawLine(QPointF(x, top - 4), QPointF(x, bottom + 4)); // turning plate
    }
    static const char* const roman[] = {"I", "II", "III"};
    for (int g = 0; g < passes; ++g)
        text(p, QRectF(packLeft + g * groupWidth, bottom + 22, groupWidth, 20), roman[g], 15, Qt::AlignCenter,
             true);

    // Flow through the passes, counter-current: the heating medium enters at the top, the heated one
    // at the bottom; each crosses its groups in turn along the port channels (its own lanes).
    const double heatingUpper = top + 14, heatingLower = bottom - 44;
    const double heatedUpper = top + 44, heatedLower = bottom - 14;
    auto flow = [&](bool heatingSide) {
        const QColor colour = heatingSide ? heating : heated;
        const double upper = heatingSide ? heatingUpper : heatedUpper;
        const double lower = heatingSide ? heatingLower : heatedLower;
        const double shift = heatingSide ? -8 : 8;
        double y = heatingSide ? upper : lower;
        std::vector<QPointF> points{{frameLeft - 2, y}};
        for (int g = 0; g < passes; ++g) {
            const double x = packLeft + (g + 0.5) * groupWidth + shift;
            points.push_back({x, y});
            y = (y == upper) ? lower : upper;
            points.push_back({x, y});
        }
        points.push_back({passes == 1 ? frameLeft - 2 : pressRight + 2, y});
        pipe(p, points, colour, true, 2.5);
        return y;
    };
    const double heatingOutY = flow(true);
    const double heatedOutY = flow(false);

    // Nozzle stubs with their numbers on the side view.
    auto stub = [&](double x, double y, bool leftSide, const QString& number, const QColor& colour) {
        const double outer = leftSide ? x - 16 : x + 16;
        p.setPen(QPen(colour, 6, Qt::SolidLine, Qt::FlatCap));
        p.drawLine(QPointF(x, y), QPointF(outer, y));
        badge(p, QPointF(leftSide ? outer - 13 : outer + 13, y), number, colour, 12);
    };
    stub(frameLeft, heatingUpper, true, "1", heating);
    stub(frameLeft, heatedLower, true, "4", heated);
    const bool outletsOnFrame = passes == 1;
    stub(outletsOnFrame ? frameLeft : pressRight, heatingOutY, outletsOnFrame, "2", heating);
    stub(outletsOnFrame ? frameLeft : pressRight, heatedOutY, outletsOnFrame, "3", heated);

    p.restore();

    // The ports on the faces: inlets on the frame plate; outlets where the last pass ends; with more
    // passes the frame plate's free ports serve draining and cleaning, and with three the pressure
    // plate's free ports let the air out.
    const QColor service(90, 90, 90);
    std::vector<Port> ports{{true, true, true, "1", heating}, {true, false, false, "4", heated}};
    const bool heatingOutTop = heatingOutY == heatingUpper, heatedOutTop = heatedOutY == heatedUpper;
    ports.push_back({outletsOnFrame, heatingOutTop, true, "2", heating});
    ports.push_back({outletsOnFrame, heatedOutTop, false, "3", heated});
    if (passes >= 2) {
        ports.push_back({true, false, true, "5", service});
        ports.push_back({true, true, false, "6", service});
    }
    if (passes == 3) {
        ports.push_back({false, !heatingOutTop, true, "7", service});
        ports.push_back({false, !heatedOutTop, false, "8", service});
    }

    // Face views of the two plates.
    plateFace(p, QRectF(30, 350, 130, 170), "Неподвижная", ports, true);
    plateFace(p, QRectF(200, 350, 130, 170), "Прижимная", ports, false);

    // Key of the colours.
    p.setPen(QPen(heating, 4));
    p.drawLine(QPointF(40, 48), QPointF(70, 48));
    text(p, QRectF(76, 38, 110, 20), "греющая среда", 13, Qt::AlignLeft | Qt::AlignVCenter);
    p.setPen(QPen(heated, 4));
    p.drawLine(QPointF(190, 48), QPointF(220, 48));
    text(p, QRectF(226, 38, 130, 20), "нагреваемая среда", 13, Qt::AlignLeft | Qt::AlignVCenter);
    return image;
}

// ---------------------------------------------------------------------------------------------
// Scheme pictures, landscape.

// A plate exchanger symbol: a box with the plate zigzag and its caption inside, under the zigzag.
void exchanger(QPainter& p, QRectF box, const QString& caption) {
    p.setPen(QPen(ink, 2.5));
    p.setBrush(Qt::white);
    p.drawRect(box);
    const double zigzagBottom = box.bottom() - 40;
    QPainterPath zigzag;
    const int teeth = 6;
    zigzag.moveTo(box.left() + 8, zigzagBottom);
    for (int i = 1; i <= teeth; ++i) {
        const double x = box.left() + 8 + i * (box.width() - 16) / teeth;
        zigzag.lineTo(x, i % 2 ? box.top() + 8 : zigzagBottom);
    }
    p.setPen(QPen(ink, 1.5));
    p.drawPath(zigzag);
    p.drawLine(QPointF(box.left(), zigzagBottom + 4), QPointF(box.right(), zigzagBottom + 4));
    text(p, QRectF(box.left() + 2, zigzagBottom + 5, box.width() - 4, 34), caption, 12, Qt::AlignCenter,
         true);
}

// A control valve symbol (two triangles point to point with the actuator) on a pipe.
void valve(QPainter& p, QPointF at, bool verticalPipe = false) {
    p.save();
    p.translate(at);
    if (verticalPipe) p.rotate(90);
    QPolygonF left, right;
    left << QPointF(0, 0) << QPointF(-12, -8) << QPointF(-12, 8);
    right << QPointF(0, 0) << QPointF(12, -8) << QPointF(12, 8);
    p.setPen(QPen(ink, 1.8));
    p.setBrush(Qt::white);
    p.drawPolygon(left);
    p.drawPolygon(right);
    p.drawLine(QPointF(0, 0), QPointF(0, -16));
    p.drawRect(QRectF(-7, -24, 14, 8));
    p.restore();
}

// A pump symbol: a circle with a triangle pointing along the flow (to the right or left).
void pump(QPainter& p, QPointF at, bool toRight) {
    p.setPen(QPen(ink, 1.8));
    p.setBrush(Qt::white);
    p.drawEllipse(at, 11, 11);
    QPolygonF tri;
    const double s = toRight ? 1 : -1;
    tri << at + QPointF(8 * s, 0) << at + QPointF(-5 * s, -7) << at + QPointF(-5 * s, 7);
    p.setBrush(ink);
    p.drawPolygon(tri);
}

// A consumer (heating system, ventilation unit) as a captioned box.
void consumer(QPainter& p, QRectF box, const QString& caption) {
    p.setPen(QPen(ink, 2));
    p.setBrush(QColor(250, 250, 240));
    p.drawRoundedRect(box, 6, 6);
    text(p, box.adjusted(4, 2, -4, -2), caption, 13);
}

void header(QPainter& p, int width, const QString& title) {
    text(p, QRectF(0, 8, width, 28), title, 20, Qt::AlignCenter, true);
}

void network(QPainter& p, double width, double supplyY, double returnY) {
    pipe(p, {{10, supplyY}, {width, supplyY}}, heating, false);
    arrowHead(p, QPointF(40, supplyY), QPointF(60, supplyY), heating);
    pipe(p, {{width, returnY}, {10, returnY}}, heating, true);
    text(p, QRectF(8, supplyY - 22, 260, 18), "T1 подача из тепловой сети", 13, Qt::AlignLeft);
    text(p, QRectF(8, returnY + 6, 260, 18), "T2 обратная вода в тепловую сеть", 13, Qt::AlignLeft);
}

// One exchanger hung between the network's supply and return, its supply through a control valve.
// Returns the exchanger's box.
QRectF networkBranch(QPainter& p, double x, double supplyY, double returnY, const QString& caption,
                     double boxTop = 170) {
    const QRectF box(x, boxTop, 110, 150);
    exchanger(p, box, caption);
    const double pipeX = x + 25;
    pipe(p, {{pipeX, supplyY}, {pipeX, box.top()}}, heating);
    valve(p, QPointF(pipeX, (supplyY + box.top()) / 2), true);
    pipe(p, {{pipeX, box.bottom()}, {pipeX, returnY}}, heating);
    return box;
}

// A closed heated circuit from the exchanger's right side through a consumer and a pump back.
void heatedLoop(QPainter& p, const QRectF& box, double consumerX, const QString& caption) {
    const double outY = box.top() + 22, backY = box.bottom() - 55;
    const QRectF load(consumerX, outY + 18, 100, backY - outY - 36);
    pipe(p, {{box.right(), outY}, {load.center().x(), outY}, {load.center().x(), load.top()}}, heated);
    consumer(p, load, caption);
    pipe(p, {{load.center().x(), load.bottom()}, {load.center().x(), backY}, {box.right(), backY}}, heated);
    pump(p, QPointF((box.right() + load.center().x()) / 2, backY), false);
}

// The single exchanger with its four connections.
QImage singleExchanger() {
    const int w = 640, h = 440;
    QImage image = canvas(w, h);
    QPainter p(&image);
    begin(p);
    header(p, w, "Теплообменник и его присоединение");
    const QRectF hx(265, 140, 110, 160);
    exchanger(p, hx, "Пластинчатый теплообменник");
    // Heating circuit: supply in at the top left (1), out at the bottom left (2).
    const double inY = hx.top() + 22, outY = hx.bottom() - 55;
    pipe(p, {{10, inY}, {hx.left(), inY}}, heating);
    valve(p, QPointF(200, inY));
    text(p, QRectF(145, inY + 10, 110, 34), "регулирующий клапан", 12);
    pipe(p, {{hx.left(), outY}, {10, outY}}, heating);
    text(p, QRectF(8, inY - 22, 180, 18), "T1 из тепловой сети", 13, Qt::AlignLeft);
    text(p, QRectF(8, outY + 6, 180, 18), "T2 в тепловую сеть", 13, Qt::AlignLeft);
    badge(p, QPointF(hx.left() - 22, inY - 22), "1", heating, 13);
    badge(p, QPointF(hx.left() - 22, outY + 22), "2", heating, 13);
    // Heated circuit: out at the top right (3) to the consumer, back in at the bottom right (4).
    heatedLoop(p, hx, 500, "Потребитель");
    badge(p, QPointF(hx.right() + 22, inY - 22), "3", heated, 13);
    badge(p, QPointF(hx.right() + 22, outY + 22), "4", heated, 13);
    text(
        p, QRectF(20, 350, 600, 70),
        "1 - вход греющей среды, 2 - выход греющей среды,\n3 - выход нагреваемой среды, 4 - вход нагреваемой "
        "среды\nПотребитель: система ГВС, отопления или вентиляции",
        14, Qt::AlignCenter);
    return image;
}

// Two exchangers (hot water and heating) fed in parallel from the network.
QImage parallelScheme() {
    const int w = 750, h = 460;
    QImage image = canvas(w, h);
    QPainter p(&image);
    begin(p);
    header(p, w, "Параллельная схема: ГВС и отопление");
    const double supplyY = 80, returnY = 400;
    network(p, 720, supplyY, returnY);
    // Hot water: cold water in at the bottom right, hot water out at the top right.
    const QRectF hotWater = networkBranch(p, 110, supplyY, returnY, "Теплообменник ГВС");
    pipe(p, {{hotWater.right(), hotWater.top() + 22}, {hotWater.right() + 100, hotWater.top() + 22}}, heated);
    text(p, QRectF(hotWater.right() + 104, hotWater.top() + 4, 110, 36), "горячая вода потребителю", 12,
         Qt::AlignLeft | Qt::AlignVCenter, false, heated);
    pipe(p, {{hotWater.right() + 100, hotWater.bottom() - 55}, {hotWater.right(), hotWater.bottom() - 55}},
         heated);
    text(p, QRectF(hotWater.right() + 104, hotWater.bottom() - 73, 110, 36), "холодная вода", 12,
         Qt::AlignLeft | Qt::AlignVCenter, false, heated);
    // Heating: a closed circuit through the building's heating system.
    const QRectF heatingHx = networkBranch(p, 450, supplyY, returnY, "Теплообменник отопления");
    heatedLoop(p, heatingHx, 630, "Система отопления");
    return image;
}

// Two-stage mixed scheme: the return water of the heating exchanger and of the second stage
// preheats the cold water in the first stage.
QImage mixedScheme() {
    const int w = 790, h = 480;
    QImage image = canvas(w, h);
    QPainter p(&image);
    begin(p);
    header(p, w, "Двухступенчатая смешанная схема ГВС");
    const double supplyY = 80, returnY = 430;
    pipe(p, {{10, supplyY}, {640, supplyY}}, heating, false);
    arrowHead(p, QPointF(40, supplyY), QPointF(60, supplyY), heating);
    text(p, QRectF(8, supplyY - 22, 260, 18), "T1 подача из тепловой сети", 13, Qt::AlignLeft);
    text(p, QRectF(8, returnY + 6, 260, 18), "T2 обратная вода в тепловую сеть", 13, Qt::AlignLeft);

    const QRectF first(120, 170, 110, 150), second(330, 170, 110, 150), heatingHx(540, 170, 110, 150);
    exchanger(p, first, "ГВС, I ступень");
    exchanger(p, second, "ГВС, II ступень");
    exchanger(p, heatingHx, "Теплообменник отопления");
    // Supply water into the second stage and the heating exchanger, each through its valve.
    for (const QRectF& box : {second, heatingHx}) {
        const double x = box.left() + 25;
        pipe(p, {{x, supplyY}, {x, box.top()}}, heating);
        valve(p, QPointF(x, (supplyY + box.top()) / 2), true);
    }
    // Their return water joins and heats the first stage, then goes back to the network.
    const double joinY = 370;
    pipe(p, {{heatingHx.left() + 25, heatingHx.bottom()}, {heatingHx.left() + 25, joinY}}, heating, false);
    pipe(p, {{second.left() + 25, second.bottom()}, {second.left() + 25, joinY}}, heating, false);
    pipe(p,
         {{heatingHx.left() + 25, joinY}, {first.right() - 25, joinY}, {first.right() - 25, first.bottom()}},
         heating);
    text(p, QRectF(second.left() + 40, joinY + 4, 180, 18), "обратная вода", 12, Qt::AlignLeft, false,
         heating);
    pipe(p, {{first.left() + 25, first.bottom()}, {first.left() + 25, returnY}, {10, returnY}}, heating);
    // Cold water through the first stage, then the second, to the taps.
    const double coldY = first.bottom() - 55, warmY = first.top() + 22;
    pipe(p, {{10, coldY}, {first.left(), coldY}}, heated);
    text(p, QRectF(8, coldY + 4, 110, 18), "холодная вода", 12, Qt::AlignLeft, false, heated);
    pipe(p, {{first.right(), warmY}, {285, warmY}, {285, coldY}, {second.left(), coldY}}, heated);
    pipe(p, {{second.right(), warmY}, {480, warmY}, {480, 130}, {510, 130}}, heated);
    text(p, QRectF(455, 106, 120, 20), "в систему ГВС", 12, Qt::AlignLeft, false, heated);
    // The heating circuit.
    heatedLoop(p, heatingHx, 660, "Отопление");
    return image;
}

// Three circuits: hot water, heating and ventilation, each with its exchanger.
QImage threeCircuitScheme() {
    const int w = 800, h = 480;
    QImage image = canvas(w, h);
    QPainter p(&image);
    begin(p);
    header(p, w, "Схема для трех контуров: ГВС, отопление, вентиляция");
    const double supplyY = 80, returnY = 410;
    network(p, 760, supplyY, returnY);
    const QRectF hotWater = networkBranch(p, 60, supplyY, returnY, "Теплообменник ГВС");
    pipe(p, {{hotWater.right(), hotWater.top() + 22}, {hotWater.right() + 60, hotWater.top() + 22}}, heated);
    text(p, QRectF(hotWater.right() + 4, hotWater.top() - 12, 120, 30), "горячая вода", 12,
         Qt::AlignLeft | Qt::AlignVCenter, false, heated);
    pipe(p, {{hotWater.right() + 60, hotWater.bottom() - 55}, {hotWater.right(), hotWater.bottom() - 55}},
         heated);
    text(p, QRectF(hotWater.right() + 4, hotWater.bottom() - 52, 120, 30), "холодная вода", 12,
         Qt::AlignLeft | Qt::AlignVCenter, false, heated);
    const QRectF heatingHx = networkBranch(p, 300, supplyY, returnY, "Теплообменник отопления");
    heatedLoop(p, heatingHx, 430, "Отопление");
    const QRectF ventilation = networkBranch(p, 540, supplyY, returnY, "Теплообменник вентиляции");
    heatedLoop(p, ventilation, 670, "Вентиляция");
    text(p, QRectF(20, 440, 760, 30),
         "Греющая среда - красные линии, нагреваемая - синие. В смешанных схемах ГВС подогревается в две "
         "ступени.",
         13);
    return image;
}

bool save(const QImage& image, const QString& folder, const QString& name) {
    const QString path = QDir(folder).filePath(name);
    if (!image.save(path, "JPG", 92)) {
        std::fprintf(stderr, "Не удалось записать %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s\n", qPrintable(path));
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "Использование: kalvar_artwork <папка picture> <папка рисунков диалогов>\n");
        return 2;
    }
    const QString pictures = QString::fromLocal8Bit(argv[1]);
    const QString dialogPictures = QString::fromLocal8Bit(argv[2]);
    bool ok = QDir().mkpath(pictures) && QDir().mkpath(dialogPictures);
    for (int passes = 1; passes <= 3; ++passes)
        ok = save(passDrawing(passes), pictures, QString("KM %1x.jpg").arg(passes)) && ok;
    ok = save(threeCircuitScheme(), pictures, "spv.jpg") && ok;
    ok = save(singleExchanger(), dialogPictures, "exchanger.jpg") && ok;
    ok = save(parallelScheme(), dialogPictures, "parallel-scheme.jpg") && ok;
    ok = save(mixedScheme(), dialogPictures, "mixed-scheme.jpg") && ok;
    return ok ? 0 : 1;
}
