#include "catalogue.h"

#include "number_text.h"

namespace kalvar {

void loadCatalogue(Catalogue& c) {
    for (int i = 0; i < catalogueSeriesCount; ++i) {
        const PlateSeries& s = plateSeries[i];
        c.plateArea[i] = s.plateArea;
        c.channelLength[i] = s.channelLength;
        c.equivalentDiameter[i] = s.equivalentDiameter;
        c.channelArea[i] = s.channelArea;
        c.plateThickness[i] = s.plateThickness;
        c.nozzleDiameter[i] = s.nozzleDiameter;
    }
}

bool exceedsPlateLimit(int typeIndex, int platesPerPass) {
    if (!hasCatalogueData(typeIndex)) return false;
    return platesPerPass > plateSeries[typeIndex].plateLimit;
}

namespace {

std::string whole(double x) {
    return formatNumber(x, 0);
}

// Series 1 to 3 share one shape of rule: weight a·n + b, A = c·n, L = c·n + d, fixed texts.
struct SmallSeriesRow {
    double weightPerPlate, weightBase, lengthPerPlate, lengthExtra;
    const char *flange, *b, *c, *t46, *e, *f;
};

inline constexpr SmallSeriesRow smallSeriesRows[3] = {
    {0.2, 16, 2.6, 30, "1 дюйм", "170", "65", "235", "62", "335"},
    {0.5, 66, 3, 40, "50 мм", "260", "100", "395", "198", "690"},
    {1.2, 206, 3.6, 60, "80 мм", "370", "150", "665", "235", "1030"},
};

WeightAndDimensions smallSeries(int typeIndex, int n) {
    const SmallSeriesRow& r = smallSeriesRows[typeIndex];
    WeightAndDimensions out;
    out.written = true;
    out.weightKg = r.weightPerPlate * n + r.weightBase;
    if (typeIndex == 1) {
        // The second series' dimensions are whole numbers of millimetres.
        const int a = 3 * n;
        out.dimensionAMm = a;
        out.lengthLMm = a + 40;
    } else {
        out.dimensionAMm = r.lengthPerPlate * n;
        out.lengthLMm = r.lengthPerPlate * n + r.lengthExtra;
    }
    out.weight = whole(out.weightKg);
    out.dimensionA = whole(out.dimensionAMm);
    out.lengthL = whole(out.lengthLMm);
    out.flange = r.flange;
    out.dimensionB = r.b;
    out.dimensionC = r.c;
    out.text46 = r.t46;
    out.dimensionE = r.e;
    out.dimensionF = r.f;
    return out;
}

} // namespace

WeightAndDimensions exchangerWeightAndDimensions(int typeIndex, int n, int z) {
    if (typeIndex >= 0 && typeIndex < 3) return smallSeries(typeIndex, n);
    WeightAndDimensions out;
    if (typeIndex != 3) return out;
    // The fourth series' rule counts the passes once more (n already holds them).
    out.written = true;
    out.weightKg = 2.2 * n * z + 550;
    out.dimensionAMm = 4.25 * n * z;
    out.lengthLMm = 4.25 * n * z + 100;
    out.weight = whole(out.weightKg);
    out.weight57 = out.weight;
    out.dimensionA = whole(out.dimensionAMm);
    out.lengthL = whole(out.lengthLMm);
    out.flange = "80 мм";
    out.dimensionB = "240";
    return out;
}

WeightAndDimensions twoStageWeightAndDimensions(int typeIndex, int n) {
    if (typeIndex >= 0 && typeIndex < 3) return smallSeries(typeIndex, n);
    WeightAndDimensions out;
    if (typeIndex != 3) return out;
    out.written = true;
    out.weightKg = 2.2 * n + 550;
    out.dimensionAMm = 4.25 * n;
    out.lengthLMm = 4.25 * n + 60;
    out.weight = whole(out.weightKg);
    out.dimensionA = whole(out.dimensionAMm);
    out.lengthL = whole(out.lengthLMm);
    out.flange = "80 мм";
    out.dimensionB = "170";
    out.dimensionC = "80";
    out.text46 = "260";
    out.dimensionE = "80";
    out.dimensionF = "260";
    return out;
}

} // namespace kalvar
