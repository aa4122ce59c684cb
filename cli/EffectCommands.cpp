// Subcommands of the effects subsystem: the effect list, one effect drawn over given frames,
// and a contact sheet of whole transitions.

#include <QImage>
#include <QString>
#include <algorithm>
#include <cctype>
#include <cstdint>
#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "base/Errors.h"
#include "cli/CliContext.h"
#include "cli/TerminalText.h"
#include "effects/EffectRandom.h"
#include "effects/EffectSheet.h"
#include "effects/EffectTable.h"
#include "effects/TransitionDriver.h"
#include "imaging/Bitmap.h"
#include "imaging/LoadPicture.h"

namespace velmora::cli {

namespace {

// A picture file in any format the project decodes; the decoders' notices go to stderr.
Bitmap ReadPicture(const std::string& path) {
    Bitmap bitmap = LoadPictureToBitmap(
        path, [](const std::string& text) { std::cerr << Visible(text) << "\n"; });
    if (bitmap.Empty()) throw InvalidFile("cannot read the picture", path);
    return bitmap;
}

void WritePicture(const Bitmap& bitmap, const std::string& path) { bitmap.WritePictureFile(path); }

// "2,4,6", "2:100:2" (first, last, step) or a mix of both; every value 0 to 100.
std::vector<int> ParseProgressList(const std::string& text) {
    std::vector<int> values;
    std::stringstream items(text);
    std::string item;
    auto number = [&](const std::string& s) {
        std::size_t used = 0;
        int v = 0;
        try {
            v = std::stoi(s, &used);
        } catch (const std::exception&) {
            used = 0;
        }
        if (used == 0 || used != s.size() || v < 0 || v > 100) {
            throw UsageError("progress \"" + s + "\" is not a whole number from 0 to 100");
        }
        return v;
    };
    while (std::getline(items, item, ',')) {
        std::vector<std::string> parts;
        std::stringstream range(item);
        for (std::string part; std::getline(range, part, ':');) parts.push_back(part);
        if (parts.size() == 1) {
            values.push_back(number(parts[0]));
        } else if (parts.size() == 2 || parts.size() == 3) {
            const int first = number(parts[0]);
            const int last = number(parts[1]);
            const int step = parts.size() == 3 ? number(parts[2]) : 1;
            if (step == 0 || last < first) throw UsageError("bad progress range \"" + item + "\"");
            for (int v = first; v <= last; v += step) values.push_back(v);
        } else {
            throw UsageError("bad progress item \"" + item + "\"");
        }
    }
    if (values.empty()) throw UsageError("no progress values given");
    return values;
}

int CheckedIndex(int index) {
    if (index < 0 || index > EffectCount) {
        throw UsageError("effect index " + std::to_string(index) + " is not 0 to 105");
    }
    return index;
}

void CheckSameSize(const Bitmap& from, const Bitmap& to) {
    if (from.Width() != to.Width() || from.Height() != to.Height() || from.Empty()) {
        throw InvalidArgument("the two pictures must have the same, non-empty size");
    }
}

void AddListCommand(CLI::App& app, CliContext& context) {
    auto* cmd = app.add_subcommand("effects", "List the 106 effect lines (000 is random)");
    auto json = std::make_shared<bool>(false);
    cmd->add_flag("--json", *json, "Print a JSON array");
    cmd->callback([&context, json] {
        context.Action = [json] {
            if (!*json) {
                for (const std::string& line : EffectListLines()) std::cout << line << "\n";
                return int(ExitOk);
            }
            nlohmann::json list = nlohmann::json::array();
            for (int i = 0; i <= EffectCount; ++i) {
                list.push_back({{"index", i},
                                {"name", EffectName(i)},
                                {"line", EffectListLine(i)},
                                {"english", i == 0 ? "" : Effects[i].Name}});
            }
            std::cout << list.dump(2) << "\n";
            return int(ExitOk);
        };
    });
}

struct EffectArgs {
    int Index = 0;
    std::string From, To, Progress, Out;
    std::optional<std::uint32_t> Seed;
};

void AddEffectCommand(CLI::App& app, CliContext& context) {
    auto* cmd = app.add_subcommand("effect", "Draw one effect over the given progress values");
    auto args = std::make_shared<EffectArgs>();
    cmd->add_option("--index", args->Index, "Effect index, 0 (random) to 105")->required();
    cmd->add_option("--from", args->From, "Starting display picture")->required();
    cmd->add_option("--to", args->To, "Incoming picture, same size")->required();
    cmd->add_option("--progress", args->Progress, "Progress values: 2,4,6 or 2:100:2")->required();
    cmd->add_option("--out", args->Out, "Final display (.bmp, .png, ...)")->required();
    cmd->add_option("--seed", args->Seed, "Seed for reproducible random choices");
    cmd->callback([&context, args] {
        context.Action = [args] {
            const int index = CheckedIndex(args->Index);
            const std::vector<int> progress = ParseProgressList(args->Progress);
            std::optional<TScopedSeed> seed;
            if (args->Seed) seed.emplace(*args->Seed);
            Bitmap display = ReadPicture(args->From);
            const Bitmap image = ReadPicture(args->To);
            CheckSameSize(display, image);
            TTransitionDriver driver;
            const int effect = driver.Begin(display, image, index);
            for (int p : progress) driver.Step(p);
            WritePicture(display, args->Out);
            std::cout << "effect " << EffectListLine(effect) << ": " << progress.size()
                      << " steps, written to " << args->Out << "\n";
            return int(ExitOk);
        };
    });
}

struct SheetArgs {
    std::string Index, From, To, Out;
    int ThumbWidth = 160;
    std::optional<std::uint32_t> Seed;
};

void AddSheetCommand(CLI::App& app, CliContext& context) {
    auto* cmd = app.add_subcommand(
        "effect-sheet", "Contact sheet: each effect's transition at 10, 20, ..., 100 percent");
    auto args = std::make_shared<SheetArgs>();
    cmd->add_option("--index", args->Index, "Effect index 0 to 105, or all")->required();
    cmd->add_option("--from", args->From, "Outgoing picture")->required();
    cmd->add_option("--to", args->To, "Incoming picture, same size")->required();
    cmd->add_option("--out", args->Out, "Sheet picture (.png, .bmp, ...)")->required();
    cmd->add_option("--thumb-width", args->ThumbWidth, "Largest thumbnail width in pixels")
        ->check(CLI::Range(16, 4096));
    cmd->add_option("--seed", args->Seed, "Seed for reproducible random choices");
    cmd->callback([&context, args] {
        context.Action = [args] {
            std::vector<int> indices;
            if (args->Index == "all") {
                for (int i = 1; i <= EffectCount; ++i) indices.push_back(i);
            } else {
                int index = -1;
                try {
                    std::size_t used = 0;
                    index = std::stoi(args->Index, &used);
                    if (used != args->Index.size()) index = -1;
                } catch (const std::exception&) {
                }
                indices.push_back(CheckedIndex(index));
            }
            std::optional<TScopedSeed> seed;
            if (args->Seed) seed.emplace(*args->Seed);
            const Bitmap from = ReadPicture(args->From);
            const Bitmap to = ReadPicture(args->To);
            CheckSameSize(from, to);
            std::vector<TSheetRow> rows;
            for (int index : indices) rows.push_back(RenderSheetRow(index, from, to));
            WritePicture(ComposeSheet(rows, args->ThumbWidth), args->Out);
            std::cout << "sheet of " << rows.size() << " effects written to " << Visible(args->Out)
                      << "\n";
            return int(ExitOk);
        };
    });
}

}  // namespace

void AddEffectCommands(CLI::App& app, CliContext& context) {
    AddListCommand(app, context);
    AddEffectCommand(app, context);
    AddSheetCommand(app, context);
}

}  // namespace velmora::cli
