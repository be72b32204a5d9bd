// kolvane-cli uncertainty: the band on the area that the correlations'
// accuracies and the scatter of typed inputs give, for a project as the
// window opens it.
#include "cli/Cli.h"
#include "cli/CliWindow.h"
#include "cli/FormJson.h"
#include "cli/Json.h"

#include "engine/Uncertainty.h"

#include <CLI/CLI.hpp>

#include <charconv>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <ostream>

namespace kolvane {

namespace {

constexpr const char* kUsage = "uncertainty FILE [--samples N] [--seed S] [--threads T]\n"
                               "      [--scatter NAME=PCT]... [--json]";
constexpr int kMaxThreads = 256;

struct UncertaintyArguments {
    std::string file;
    std::string samples = "2000", seed = "1", threads = "0";
    std::vector<std::string> scatter;
    bool json = false;
};

// A whole number from lo to hi, all of the text.
template <typename T> std::optional<T> WholeNumber(const std::string& text, T lo, T hi) {
    T v{};
    const auto [p, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
    if (ec != std::errc() || p != text.data() + text.size() || v < lo || v > hi)
        return std::nullopt;
    return v;
}

template <typename T> CLI::Validator WholeNumberCheck(T lo, T hi) {
    return CLI::Validator(
        [lo, hi](std::string& v) -> std::string {
            if (WholeNumber<T>(v, lo, hi)) return {};
            return "takes a whole number from " + std::to_string(lo) + " to " + std::to_string(hi) +
                   ", not '" + v + "'";
        },
        "");
}

// NAME=PCT: a quantity field and a percentage from 0 to 50.
std::optional<QuantityScatter> ParseScatter(const std::string& text) {
    const auto eq = text.find('=');
    if (eq == std::string::npos) return std::nullopt;
    const FieldRow* field = FindField(text.substr(0, eq));
    const std::string pct = text.substr(eq + 1);
    double v = 0;
    const auto [p, ec] = std::from_chars(pct.data(), pct.data() + pct.size(), v);
    if (!field || ec != std::errc() || p != pct.data() + pct.size() ||
        !(v >= 0 && v <= kMaxScatterPercent))
        return std::nullopt;
    return QuantityScatter{static_cast<fid::FieldId>(field - FieldTable().data()), v};
}

std::string Fixed(double v, int decimals) {
    if (std::isinf(v)) return "∞";
    if (std::isnan(v)) return "-";
    char buf[48];
    std::snprintf(buf, sizeof buf, "%.*f", decimals, v);
    return buf;
}

Json BandJson(const std::optional<Percentiles>& p) {
    if (!p) return nullptr;
    return {{"P10", JsonNumber(p->p10)}, {"P50", JsonNumber(p->p50)}, {"P90", JsonNumber(p->p90)}};
}

std::string ToJson(const UncertaintyResult& r) {
    Json j;
    j["samples"] = r.samples;
    j["seed"] = r.seed;
    j["areaNeeded_m2"] = BandJson(r.areaNeeded);
    j["tActual_s"] = BandJson(r.tActual);
    j["resistances"] = {{"outsideFilm", JsonNumber(r.shares.outsideFilm)},
                        {"insideFilm", JsonNumber(r.shares.insideFilm)},
                        {"fouling", JsonNumber(r.shares.fouling)},
                        {"wall", JsonNumber(r.shares.wall)}};
    Json tornado = Json::array();
    for (const TornadoBar& b : r.tornado)
        tornado.push_back(
            {{"factor", b.factor}, {"low", JsonNumber(b.low)}, {"high", JsonNumber(b.high)}});
    j["tornado"] = std::move(tornado);
    j["failed"] = r.failed;
    j["unreached"] = r.unreached;
    j["theoreticalArea_m2"] = JsonNumber(r.theoreticalArea);
    j["nominalAreaNeeded_m2"] = JsonNumber(r.nominalAreaNeeded);
    j["actualArea_m2"] = r.hasActualArea ? JsonNumber(r.actualArea) : Json(nullptr);
    j["controlling"] = r.controllingText;
    j["warning"] = r.warning.empty() ? Json(nullptr) : Json(r.warning);
    return DumpJson(j);
}

// A column of `width` terminal cells, the text left-aligned.
std::string Cell(const std::string& text, std::size_t width) {
    const std::size_t w = DisplayWidth(text);
    return text + std::string(w < width ? width - w : 1, ' ');
}

std::string ToText(const UncertaintyResult& r) {
    std::string s = "不确定度分析：" + std::to_string(r.samples) + "个样本，随机种子" +
                    std::to_string(r.seed) + "，失败" + std::to_string(r.failed) + "个\n";
    s += "理论面积 " + Fixed(r.theoreticalArea, 3) + " m²，动态校核所需面积 " +
         Fixed(r.nominalAreaNeeded, 3) + " m²";
    s += r.hasActualArea ? "，实际面积 " + Fixed(r.actualArea, 3) + " m²\n" : "，未给出实际面积\n";
    s += "\n" + Cell("", 30) + Cell("P10", 12) + Cell("P50", 12) + "P90\n";
    auto row = [&s](const char* caption, const std::optional<Percentiles>& p, double scale) {
        if (!p) return;
        s += Cell(caption, 30) + Cell(Fixed(p->p10 * scale, 3), 12) +
             Cell(Fixed(p->p50 * scale, 3), 12) + Fixed(p->p90 * scale, 3) + "\n";
    };
    row("所需面积 (m²)", r.areaNeeded, 1);
    row("实际面积达到目标时间 (min)", r.tActual, 1.0 / 60);
    if (r.unreached > 0)
        s += "其中" + std::to_string(r.unreached) + "个样本以实际面积达不到目标温度（计为∞）\n";

    s += "\n热阻构成（占1/K）：\n";
    const std::pair<const char*, double> parts[] = {{"管外膜", r.shares.outsideFilm},
                                                    {"管内膜", r.shares.insideFilm},
                                                    {"污垢（两侧）", r.shares.fouling},
                                                    {"管壁", r.shares.wall}};
    for (const auto& [name, share] : parts)
        s += "  " + Cell(name, 14) + Fixed(share * 100, 1) + " %\n";
    s += r.controllingText + "\n";

    s += "\n各因素单独取下限/上限时的所需面积 (m²)：\n";
    for (const TornadoBar& b : r.tornado)
        s += "  " + Cell(b.factor, 48) + Cell(Fixed(b.low, 3), 10) + Fixed(b.high, 3) + "\n";
    return s;
}

int RunUncertaintyCommand(const UncertaintyArguments& args, std::ostream& out, std::ostream& err) {
    UncertaintyOptions options;
    options.samples = *WholeNumber<int>(args.samples, 1, kMaxUncertaintySamples);
    options.seed = *WholeNumber<std::uint64_t>(args.seed, 0, UINT64_MAX);
    options.threads = *WholeNumber<int>(args.threads, 0, kMaxThreads);
    for (const std::string& s : args.scatter)
        options.scatter.push_back(*ParseScatter(s));

    if (std::error_code ec; !std::filesystem::is_regular_file(args.file, ec)) {
        err << "error: 找不到项目文件'" << args.file << "'\n";
        return kCliFailed;
    }
    CliWindow project(&err);
    TFormKolvane& window = project.window;
    try {
        if (!window.OpenProjectFile(args.file)) {
            err << "error: 无法打开项目文件'" << args.file << "'\n";
            return kCliFailed;
        }
        const UncertaintyResult r = RunUncertainty(window.readCase(), options);
        if (!r.warning.empty()) err << "warning: " << r.warning << '\n';
        out << (args.json ? ToJson(r) : ToText(r)) << '\n';
    } catch (const std::exception& e) {
        err << "error: " << e.what() << '\n';
        return kCliFailed;
    }
    return kCliOk;
}

} // namespace

CliCommand AddUncertaintyCommand(CLI::App& cli) {
    auto args = std::make_shared<UncertaintyArguments>();
    CLI::App* command = cli.add_subcommand(
        "uncertainty",
        "The band on the area of FILE: a Monte Carlo over the correlations' stated accuracies "
        "and the scatter given to typed inputs, with the dynamic check on each sample: P10, P50 "
        "and P90 of the area needed and of the time to the target with the actual area, the "
        "parts of 1/K and each factor's swing of the area.");
    command->add_option("FILE", args->file, "A project (.kvp) or template (.kvt)")->required();
    command->add_option("--samples", args->samples, "Samples (default 2000)")
        ->type_name("N")
        ->check(WholeNumberCheck<int>(1, kMaxUncertaintySamples));
    command->add_option("--seed", args->seed, "Seed of the random numbers (default 1)")
        ->type_name("S")
        ->check(WholeNumberCheck<std::uint64_t>(0, UINT64_MAX));
    command->add_option("--threads", args->threads, "Threads (default 0: every core)")
        ->type_name("T")
        ->check(WholeNumberCheck<int>(0, kMaxThreads));
    AddRepeatedOption(*command, "--scatter", "NAME=PCT",
                      "± PCT % (0 to 50) on the typed quantity field NAME, e.g. VioD=10",
                      [args](const std::string& v) {
                          if (!ParseScatter(v))
                              throw CLI::ValidationError(
                                  "--scatter", "takes NAME=PCT, NAME a quantity field and PCT a "
                                               "number from 0 to 50, not '" +
                                                   v + "'");
                          args->scatter.push_back(v);
                      });
    command->add_flag("--json", args->json, "Print the band as one JSON object");
    command->footer("Exit code: 0 done, 1 the file cannot be opened or the case cannot be sized, "
                    "2 bad arguments.");
    return {command, kUsage, false,
            [args](const std::vector<std::string>&, std::ostream& out, std::ostream& err) {
                return RunUncertaintyCommand(*args, out, err);
            }};
}

} // namespace kolvane
