#include "variants_command.h"

#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <sstream>

#include "task.h"
#include "task_source.h"
#include "task_variants.h"

namespace kalvar {

const char* const variantsUsage =
    "usage: kalvar-cli variants [TASK.json | -] [--window hotWater|heating|ventilation] [--sort KEY] "
    "[--csv] [--all]";
const char* const variantsHelp =
    "usage: kalvar-cli variants [TASK.json | -] [--window hotWater|heating|ventilation] [--sort KEY] "
    "[--csv] [--all]\n"
    "\n"
    "Runs \"Расчет\" for the task as `calc` does, then, for every window it calculates, sizes every\n"
    "layout the window's \"Компоновка\" lists offer: series 1 to 4, 1 to 3 passes, 1 to 8 units in\n"
    "parallel (the hot-water exchanger of a two-stage scheme: two passes only), each with the task's\n"
    "other inputs and the limit dialog answered \"Продолжить\". A window that is rated rates each\n"
    "layout with its plate count. A layout whose sizing stops with a message is left out; the one the\n"
    "task's own \"Расчет\" picks is marked chosen.\n"
    "Prints JSON: {\"units\": {...}, \"heating\"|\"hotWater\"|\"ventilation\": [variant, ...]}, each\n"
    "variant with \"series\", \"passes\", \"units\", \"limit\" (the limits its exchanger breaks, as the\n"
    "limit dialog names them; null within every limit), \"chosen\", \"totalSurface\" and\n"
    "\"totalWeight\" (of all units together) and the window's results for it (of one unit, as the\n"
    "window shows them), named as in the \"results\" of `calc`.\n"
    "  --window W  only the window W: hotWater, heating or ventilation\n"
    "  --sort KEY  sort by a CSV column (default surface), ascending; \"-KEY\" descending\n"
    "  --csv       print a CSV table instead, one row per variant: window, designation, series, passes,\n"
    "              units, plates, surface, margin, k, loss_heating, loss_heated, velocity_heating,\n"
    "              velocity_heated, nozzle_velocity, weight, limit, chosen (1 or 0); surface and\n"
    "              weight are those of all units together\n"
    "  --all       list also the variants that break a limit (by default only those within every "
    "limit)\n"
    "Exit codes: 0 printed; 2 usage error, unreadable file or invalid task; 1 the output could not be "
    "written.\n";

namespace {

int usageError(const std::string& problem, std::ostream& err) {
    err << "kalvar-cli: " << problem << "\n" << variantsUsage << "\n";
    return 2;
}

} // namespace

int variantsCommand(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
                    std::ostream& err) {
    VariantOptions options;
    bool csv = false;
    std::optional<std::string> source;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--help" || a == "-h") {
            out << variantsHelp;
            out.flush();
            return out ? 0 : 1;
        }
        if (a == "--csv") {
            csv = true;
        } else if (a == "--all") {
            options.all = true;
        } else if (a == "--window" || a == "--sort") {
            if (i + 1 == args.size()) return usageError(a + " needs a value", err);
            const std::string& value = args[++i];
            if (a == "--window") {
                options.window = windowOfKey(value);
                if (!options.window)
                    return usageError(
                        "--window takes hotWater, heating or ventilation, not \"" + value + "\"", err);
            } else {
                if (!isVariantSortKey(value))
                    return usageError("--sort takes a CSV column, not \"" + value + "\"", err);
                options.sortKey = value;
            }
        } else if (a.size() > 1 && a[0] == '-') {
            return usageError("unknown option \"" + a + "\"", err);
        } else if (source) {
            return usageError("one task file only", err);
        } else {
            source = a;
        }
    }
    const auto text = readSource(source.value_or("-"), in);
    if (!text) {
        err << "kalvar-cli: cannot read " << *source << "\n";
        return 2;
    }
    std::error_code error;
    const std::string workDir = std::filesystem::current_path(error).string();
    try {
        const TaskVariants variants = taskVariants(*text, workDir, options);
        if (csv)
            out << variantsCsv(variants);
        else
            out << variantsJson(variants).dump(1, ' ', false,
                                               nlohmann::ordered_json::error_handler_t::replace)
                << "\n";
    } catch (const TaskError& e) {
        err << "kalvar-cli: " << e.what() << "\n";
        return 2;
    }
    out.flush();
    if (!out) {
        err << "kalvar-cli: cannot write to standard output\n";
        return 1;
    }
    return 0;
}

} // namespace kalvar
