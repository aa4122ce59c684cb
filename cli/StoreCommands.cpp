// Subcommands of the store subsystem: the album catalogue, the picture and song lists of an
// album, moving, deleting and editing their records.

#include <unistd.h>

#include <filesystem>
#include <iostream>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <vector>

#include "base/Errors.h"
#include "cli/CliContext.h"
#include "cli/TerminalText.h"
#include "effects/EffectTable.h"
#include "store/Catalogue.h"
#include "store/ListOps.h"
#include "store/PicEdit.h"
#include "store/Pub.h"
#include "store/StoreRoot.h"

namespace velmora::cli {

namespace {

// The effect column of picture tables: the number and the name the picture list shows.
std::string EffectColumn(std::int32_t effect) {
    return std::to_string(effect) + " " + EffectName(effect);
}

using Json = nlohmann::json;
using TRow = std::vector<std::string>;

// ---- output ----------------------------------------------------------------------------------

/// Columns a UTF-8 text takes on a terminal: East Asian wide characters count two.
std::size_t DisplayWidth(const std::string& text) {
    std::size_t width = 0;
    for (std::size_t i = 0; i < text.size();) {
        const auto b = static_cast<unsigned char>(text[i]);
        char32_t cp = b;
        std::size_t n = 1;
        if (b >= 0xF0) {
            n = 4;
            cp = b & 0x07;
        } else if (b >= 0xE0) {
            n = 3;
            cp = b & 0x0F;
        } else if (b >= 0xC0) {
            n = 2;
            cp = b & 0x1F;
        }
        for (std::size_t k = 1; k < n && i + k < text.size(); ++k) {
            cp = (cp << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
        }
        const bool wide = (cp >= 0x1100 && cp <= 0x115F) || (cp >= 0x2E80 && cp <= 0xA4CF) ||
                          (cp >= 0xAC00 && cp <= 0xD7A3) || (cp >= 0xF900 && cp <= 0xFAFF) ||
                          (cp >= 0xFE30 && cp <= 0xFE4F) || (cp >= 0xFF00 && cp <= 0xFF60) ||
                          (cp >= 0xFFE0 && cp <= 0xFFE6) || (cp >= 0x1F300 && cp <= 0x1F64F) ||
                          (cp >= 0x1F900 && cp <= 0x1F9FF) || (cp >= 0x20000 && cp <= 0x3FFFD);
        width += wide ? 2 : 1;
        i += n;
    }
    return width;
}

/// Prints rows as columns separated by two blanks; the first row is the header. Cells are
/// shown with Visible.
void PrintTable(const std::vector<TRow>& givenRows) {
    std::vector<TRow> rows = givenRows;
    for (TRow& row : rows) {
        for (std::string& cell : row) cell = Visible(cell);
    }
    std::vector<std::size_t> widths;
    for (const TRow& row : rows) {
        widths.resize(std::max(widths.size(), row.size()), 0);
        for (std::size_t c = 0; c < row.size(); ++c) {
            widths[c] = std::max(widths[c], DisplayWidth(row[c]));
        }
    }
    for (const TRow& row : rows) {
        std::string line;
        for (std::size_t c = 0; c < row.size(); ++c) {
            line += row[c];
            if (c + 1 < row.size()) line += std::string(widths[c] - DisplayWidth(row[c]) + 2, ' ');
        }
        while (!line.empty() && line.back() == ' ') line.pop_back();
        std::cout << line << "\n";
    }
}

// ---- store access ----------------------------------------------------------------------------

/// The store of --store (or the default root) with its catalogue loaded. A command that
/// writes passes `lock`, which receives the store's lock taken before anything is read.
TAlbumStore LoadStore(const CliContext& context, std::unique_ptr<TStoreLock>* lock = nullptr) {
    TAlbumStore store;
    store.RootPath = ResolveStoreRoot(context.StoreDir);
    if (lock != nullptr) *lock = LockStoreForWriting(store.RootPath);
    store.LoadRecords("A");
    return store;
}

/// Opens the album named `name`; fails when the catalogue has none of that name.
void OpenNamedAlbum(TAlbumStore& store, const std::string& name) {
    const int index = FindAlbum(store, name);
    if (index < 0) throw Error("no album named \"" + name + "\" in " + store.RootPath);
    store.OpenAlbum(index);
}

/// A row index typed on the command line: decimal digits, below `count`.
int ParseIndex(const std::string& text, int count, const char* what) {
    if (text.empty() || text.size() > 9 ||
        text.find_first_not_of("0123456789") != std::string::npos) {
        throw UsageError("'" + text + "' is not a " + std::string(what) + " index (0, 1, 2, ...)");
    }
    const int index = std::stoi(text);
    if (index >= count) {
        throw Error("no " + std::string(what) + " " + text + " in the album (" +
                    std::to_string(count) + " " + what + (count == 1 ? "" : "s") + ")");
    }
    return index;
}

/// Asks `question` on the terminal unless `yes`; refuses without a terminal.
bool Confirm(const std::string& question, bool yes) {
    if (yes) return true;
    if (::isatty(STDIN_FILENO) == 0) {
        throw UsageError(question + " (not a terminal: add --yes to confirm)");
    }
    std::cout << Visible(question) << " [y/N] " << std::flush;
    std::string answer;
    std::getline(std::cin, answer);
    return answer == "y" || answer == "Y" || answer == "yes" || answer == "Yes";
}

int Cancelled() {
    std::cerr << "velmora-cli: cancelled, nothing deleted\n";
    return ExitFailure;
}

// ---- album ... -------------------------------------------------------------------------------

int ListAlbums(const CliContext& context, bool json) {
    TAlbumStore store = LoadStore(context);
    if (json) {
        Json names = Json::array();
        for (int i = 0; i < store.AlbumCount; ++i) names.push_back(store.Albums[i].Name.Text());
        std::cout << names.dump(2) << "\n";
        return ExitOk;
    }
    if (store.AlbumCount == 0) {
        std::cout << "no albums in " << Visible(store.RootPath) << "\n";
        return ExitOk;
    }
    std::vector<TRow> rows{{"#", "Album", "Pictures", "Songs"}};
    for (int i = 0; i < store.AlbumCount; ++i) {
        // A store of this one entry: copying the whole catalogue per row would take time
        // growing with the square of its length.
        TAlbumStore album;
        album.RootPath = store.RootPath;
        album.Albums = {store.Albums[i]};
        album.AlbumCount = 1;
        std::string pics = "?", songs = "?";
        try {
            album.OpenAlbum(0);
            pics = std::to_string(album.PicCount);
            songs = std::to_string(album.MusicCount);
        } catch (const Error&) {
            // A damaged entry is listed all the same.
        }
        rows.push_back({std::to_string(i), store.Albums[i].Name.Text(), pics, songs});
    }
    PrintTable(rows);
    return ExitOk;
}

int CreateAlbumCommand(const CliContext& context, const std::string& name) {
    std::error_code ignored;
    std::filesystem::create_directories(ResolveStoreRoot(context.StoreDir), ignored);
    std::unique_ptr<TStoreLock> lock;
    TAlbumStore store = LoadStore(context, &lock);
    const std::string created = CreateAlbum(store, name);
    std::cout << "created album \"" << Visible(created) << "\" in " << Visible(store.RootPath)
              << "\n";
    return ExitOk;
}

int DeleteAlbumCommand(const CliContext& context, const std::string& name, bool yes) {
    std::unique_ptr<TStoreLock> lock;
    TAlbumStore store = LoadStore(context, &lock);
    const int index = FindAlbum(store, name);
    if (index < 0) throw Error("no album named \"" + name + "\" in " + store.RootPath);
    try {
        store.OpenAlbum(index);
    } catch (const InvalidFile&) {
        store.AlbumIndex = index;  // a name that is no folder: only the entry goes
    }
    if (auto question = AlbumDeleteQuestion(store.PicCount, store.MusicCount)) {
        if (!Confirm(*question, yes)) return Cancelled();
    }
    const TAlbumDeletion report = DeleteAlbum(store);
    if (!report.FolderRemoved) {
        std::cerr << "velmora-cli: the entry of album \"" << Visible(name)
                  << "\" is deleted, but its folder could not be removed entirely: "
                  << Visible(report.Folder) << "\n";
        return ExitFailure;
    }
    std::cout << "deleted album \"" << Visible(name) << "\"\n";
    if (!report.OpenFailure.empty()) {
        std::cerr << "velmora-cli: notice: the album now current cannot be opened: "
                  << Visible(report.OpenFailure) << "\n";
    }
    return ExitOk;
}

int AdoptFolderCommand(const CliContext& context, const std::string& name) {
    std::unique_ptr<TStoreLock> lock;
    TAlbumStore store = LoadStore(context, &lock);
    AdoptAlbumFolder(store, name);
    std::cout << "adopted the folder \"" << Visible(name) << "\" as an album\n";
    return ExitOk;
}

int RemoveFolderCommand(const CliContext& context, const std::string& name, bool yes) {
    std::unique_ptr<TStoreLock> lock;
    TAlbumStore store = LoadStore(context, &lock);
    if (!Confirm(
            "remove the folder \"" + name + "\", which belongs to no album, with all its files?",
            yes)) {
        return Cancelled();
    }
    RemoveStrayFolder(store, name);
    std::cout << "removed the folder \"" << Visible(name) << "\"\n";
    return ExitOk;
}

void AddAlbumCommands(CLI::App& app, CliContext& context) {
    CLI::App* album = app.add_subcommand("album", "List, create and delete albums");
    album->require_subcommand(1);

    CLI::App* list = album->add_subcommand("list", "List the albums of the store");
    auto json = std::make_shared<bool>(false);
    list->add_flag("--json", *json, "Print a JSON array of the album names");
    list->callback([&context, json] {
        context.Action = [&context, json] { return ListAlbums(context, *json); };
    });

    CLI::App* create = album->add_subcommand("create", "Create an empty album");
    auto name = std::make_shared<std::string>();
    create->add_option("NAME", *name, "Album name (at most 90 bytes in GB18030)")->required();
    create->callback([&context, name] {
        context.Action = [&context, name] { return CreateAlbumCommand(context, *name); };
    });

    CLI::App* adopt = album->add_subcommand(
        "adopt", "Give a folder of the store that belongs to no album an album entry");
    auto adoptName = std::make_shared<std::string>();
    adopt->add_option("FOLDER", *adoptName, "Folder name in the store root")->required();
    adopt->callback([&context, adoptName] {
        context.Action = [&context, adoptName] { return AdoptFolderCommand(context, *adoptName); };
    });

    CLI::App* removeFolder = album->add_subcommand(
        "remove-folder", "Delete a folder of the store that belongs to no album");
    auto folderName = std::make_shared<std::string>();
    auto folderYes = std::make_shared<bool>(false);
    removeFolder->add_option("FOLDER", *folderName, "Folder name in the store root")->required();
    removeFolder->add_flag("--yes,-y", *folderYes, "Do not ask before deleting");
    removeFolder->callback([&context, folderName, folderYes] {
        context.Action = [&context, folderName, folderYes] {
            return RemoveFolderCommand(context, *folderName, *folderYes);
        };
    });

    CLI::App* remove = album->add_subcommand("delete", "Delete an album with its files");
    auto delName = std::make_shared<std::string>();
    auto yes = std::make_shared<bool>(false);
    remove->add_option("NAME", *delName, "Album name")->required();
    remove->add_flag("--yes,-y", *yes, "Do not ask when the album holds pictures or songs");
    remove->callback([&context, delName, yes] {
        context.Action = [&context, delName, yes] {
            return DeleteAlbumCommand(context, *delName, *yes);
        };
    });
}

// ---- pics / songs ----------------------------------------------------------------------------

int ShowPics(const CliContext& context, const std::string& albumName, bool json) {
    TAlbumStore store = LoadStore(context);
    OpenNamedAlbum(store, albumName);
    if (json) {
        Json list = Json::array();
        for (int i = 0; i < store.PicCount; ++i) {
            const TPicInfo& p = store.Pics[i];
            list.push_back({{"Dwell", p.Dwell},
                            {"Effect", p.Effect},
                            {"Title", p.Title.Text()},
                            {"Remark", p.Remark.Text()},
                            {"StoredName", p.StoredName.Text()}});
        }
        std::cout << list.dump(2) << "\n";
        return ExitOk;
    }
    std::vector<TRow> rows{{"#", "Dwell", "Effect", "Title", "Remark", "StoredName"}};
    for (int i = 0; i < store.PicCount; ++i) {
        const TPicInfo& p = store.Pics[i];
        rows.push_back({std::to_string(i), std::to_string(p.Dwell), EffectColumn(p.Effect),
                        p.Title.Text(), p.Remark.Text(), p.StoredName.Text()});
    }
    PrintTable(rows);
    std::cout << store.PicCount << (store.PicCount == 1 ? " picture" : " pictures") << "\n";
    return ExitOk;
}

int ShowSongs(const CliContext& context, const std::string& albumName, bool json) {
    TAlbumStore store = LoadStore(context);
    OpenNamedAlbum(store, albumName);
    if (json) {
        Json list = Json::array();
        for (int i = 0; i < store.MusicCount; ++i) {
            const TMusicInfo& m = store.Musics[i];
            list.push_back({{"PlayTime", m.PlayTime},
                            {"StoredName", m.StoredName.Text()},
                            {"SongName", m.SongName.Text()},
                            {"Singer", m.Singer.Text()},
                            {"Remark", m.Remark.Text()}});
        }
        std::cout << list.dump(2) << "\n";
        return ExitOk;
    }
    std::vector<TRow> rows{{"#", "PlayTime", "StoredName", "SongName", "Singer", "Remark"}};
    for (int i = 0; i < store.MusicCount; ++i) {
        const TMusicInfo& m = store.Musics[i];
        rows.push_back({std::to_string(i), std::to_string(m.PlayTime), m.StoredName.Text(),
                        m.SongName.Text(), m.Singer.Text(), m.Remark.Text()});
    }
    PrintTable(rows);
    std::cout << store.MusicCount << (store.MusicCount == 1 ? " song" : " songs") << "\n";
    return ExitOk;
}

void AddListCommands(CLI::App& app, CliContext& context) {
    struct TListCommand {
        const char* Name;
        const char* Help;
        int (*Run)(const CliContext&, const std::string&, bool);
    };
    const TListCommand listCommands[] = {{"pics", "List the pictures of an album", ShowPics},
                                         {"songs", "List the songs of an album", ShowSongs}};
    for (const TListCommand& listCommand : listCommands) {
        CLI::App* command = app.add_subcommand(listCommand.Name, listCommand.Help);
        auto album = std::make_shared<std::string>();
        auto json = std::make_shared<bool>(false);
        command->add_option("ALBUM", *album, "Album name")->required();
        command->add_flag("--json", *json, "Print a JSON array of the records");
        command->callback([&context, album, json, run = listCommand.Run] {
            context.Action = [&context, album, json, run] { return run(context, *album, *json); };
        });
    }
}

// ---- move / delete ---------------------------------------------------------------------------

/// The operations of one record list, so that pictures and songs share the commands.
struct TListKind {
    const char* Noun;  ///< "picture" or "song"
    int (*Move)(TAlbumStore&, int, bool);
    int (*DeleteCurrent)(TAlbumStore&, int);
    void (*DeleteAll)(TAlbumStore&);
    std::string (*AllQuestion)(int);
    std::int32_t TAlbumStore::*Count;
};

const TListKind PicKind{"picture",
                        MovePic,
                        DeleteCurrentPic,
                        DeleteAllPics,
                        DeleteAllPicsQuestion,
                        &TAlbumStore::PicCount};
const TListKind MusicKind{"song",
                          MoveMusic,
                          DeleteCurrentMusic,
                          DeleteAllMusic,
                          DeleteAllMusicQuestion,
                          &TAlbumStore::MusicCount};

int MoveCommand(const CliContext& context, const TListKind& kind, const std::string& albumName,
                const std::string& indexText, const std::string& direction) {
    std::unique_ptr<TStoreLock> lock;
    TAlbumStore store = LoadStore(context, &lock);
    OpenNamedAlbum(store, albumName);
    const int index = ParseIndex(indexText, store.*kind.Count, kind.Noun);
    const int target = kind.Move(store, index, direction == "up");
    if (target == index) {
        std::cout << kind.Noun << " " << index << " is already "
                  << (direction == "up" ? "first" : "last") << "; nothing moved\n";
    } else {
        std::cout << "moved " << kind.Noun << " " << index << " to " << target << "\n";
    }
    return ExitOk;
}

int DeleteCommand(const CliContext& context, const TListKind& kind, const std::string& albumName,
                  const std::string& indexText, bool all, bool yes) {
    if (all == !indexText.empty()) throw UsageError("give either INDEX or --all");
    std::unique_ptr<TStoreLock> lock;
    TAlbumStore store = LoadStore(context, &lock);
    OpenNamedAlbum(store, albumName);
    const int count = store.*kind.Count;
    if (!all) {
        const int index = ParseIndex(indexText, count, kind.Noun);
        kind.DeleteCurrent(store, index);
        std::cout << "deleted " << kind.Noun << " " << index << "\n";
        return ExitOk;
    }
    if (count == 0) {
        std::cout << "the album has no " << kind.Noun << "s\n";
        return ExitOk;
    }
    if (!Confirm(kind.AllQuestion(count), yes)) return Cancelled();
    kind.DeleteAll(store);
    std::cout << "deleted " << count << " " << kind.Noun << (count == 1 ? "" : "s") << "\n";
    return ExitOk;
}

void AddMoveDeleteCommands(CLI::App& app, CliContext& context, const TListKind& kind) {
    const std::string noun = kind.Noun;
    CLI::App* move = app.add_subcommand("move-" + noun, "Move a " + noun + " up or down");
    auto album = std::make_shared<std::string>();
    auto index = std::make_shared<std::string>();
    auto direction = std::make_shared<std::string>();
    move->add_option("ALBUM", *album, "Album name")->required();
    move->add_option("INDEX", *index, "Row of the " + noun + ", from 0")->required();
    move->add_option("DIRECTION", *direction, "up or down")
        ->required()
        ->check(CLI::IsMember({"up", "down"}));
    move->callback([&context, &kind, album, index, direction] {
        context.Action = [&context, &kind, album, index, direction] {
            return MoveCommand(context, kind, *album, *index, *direction);
        };
    });

    CLI::App* del = app.add_subcommand("delete-" + noun, "Delete one or every " + noun);
    auto delAlbum = std::make_shared<std::string>();
    auto delIndex = std::make_shared<std::string>();
    auto all = std::make_shared<bool>(false);
    auto yes = std::make_shared<bool>(false);
    del->add_option("ALBUM", *delAlbum, "Album name")->required();
    del->add_option("INDEX", *delIndex, "Row of the " + noun + ", from 0");
    del->add_flag("--all", *all, "Delete every " + noun + " of the album");
    del->add_flag("--yes,-y", *yes, "Do not ask before deleting every " + noun);
    del->callback([&context, &kind, delAlbum, delIndex, all, yes] {
        context.Action = [&context, &kind, delAlbum, delIndex, all, yes] {
            return DeleteCommand(context, kind, *delAlbum, *delIndex, *all, *yes);
        };
    });
}

// ---- edit-picture ----------------------------------------------------------------------------

struct TEditArgs {
    std::string Album, Index;
    std::optional<std::string> Title, Dwell, Effect, AllDwell;
};

std::int32_t DwellArgument(const std::string& text) {
    try {
        return ParseDwell(text);
    } catch (const InvalidArgument& e) {
        throw UsageError(e.what());
    }
}

std::int32_t EffectArgument(const std::string& text) {
    const bool number =
        !text.empty() && text.size() <= 18 &&
        text.find_first_not_of("0123456789", text[0] == '-' ? 1 : 0) == std::string::npos &&
        text != "-";
    try {
        if (!number) throw InvalidArgument("'" + text + "' is not an effect number (0 to 105)");
        return CheckEffect(std::stoll(text));
    } catch (const InvalidArgument& e) {
        throw UsageError(e.what());
    }
}

int EditPictureCommand(const CliContext& context, const TEditArgs& args) {
    const bool single = args.Title || args.Dwell || args.Effect;
    if (args.AllDwell && (single || !args.Index.empty())) {
        throw UsageError("--all-dwell goes without INDEX, --title, --dwell and --effect");
    }
    if (!args.AllDwell && (args.Index.empty() || !single)) {
        throw UsageError("give INDEX with --title, --dwell or --effect, or --all-dwell N");
    }
    TPicEdit edit;
    if (args.Title) edit.Title = *args.Title;
    if (args.Dwell) edit.Dwell = DwellArgument(*args.Dwell);
    if (args.Effect) edit.Effect = EffectArgument(*args.Effect);
    const std::int32_t allDwell = args.AllDwell ? DwellArgument(*args.AllDwell) : 0;

    std::unique_ptr<TStoreLock> lock;
    TAlbumStore store = LoadStore(context, &lock);
    OpenNamedAlbum(store, args.Album);
    if (args.AllDwell) {
        ApplyDwellToAll(store, allDwell);
        std::cout << "dwell time of all " << store.PicCount << " pictures set to " << allDwell
                  << "\n";
        return ExitOk;
    }
    const int index = ParseIndex(args.Index, store.PicCount, "picture");
    SavePicEdit(store, index, edit);
    const TPicInfo& p = store.Pics[index];
    PrintTable(
        {{"#", "Dwell", "Effect", "Title"},
         {std::to_string(index), std::to_string(p.Dwell), EffectColumn(p.Effect), p.Title.Text()}});
    return ExitOk;
}

void AddEditPictureCommand(CLI::App& app, CliContext& context) {
    CLI::App* edit = app.add_subcommand(
        "edit-picture", "Change a picture's title, dwell time or effect, or every dwell time");
    auto args = std::make_shared<TEditArgs>();
    edit->add_option("ALBUM", args->Album, "Album name")->required();
    edit->add_option("INDEX", args->Index, "Row of the picture, from 0");
    edit->add_option("--title", args->Title, "Title (trimmed, cut to 36 bytes in GB18030)");
    edit->add_option("--dwell", args->Dwell, "Dwell time in seconds (1 to 2147483647)");
    edit->add_option("--effect", args->Effect, "Effect: 0 random, 1 to 105");
    edit->add_option("--all-dwell", args->AllDwell, "Give every picture this dwell time");
    edit->callback([&context, args] {
        context.Action = [&context, args] { return EditPictureCommand(context, *args); };
    });
}

}  // namespace

std::unique_ptr<TStoreLock> LockStoreForWriting(const std::string& rootPath) {
    std::error_code error;
    if (!std::filesystem::is_directory(rootPath, error)) return nullptr;
    return std::make_unique<TStoreLock>(rootPath);
}

void AddStoreCommands(CLI::App& app, CliContext& context) {
    AddAlbumCommands(app, context);
    AddListCommands(app, context);
    AddMoveDeleteCommands(app, context, PicKind);
    AddMoveDeleteCommands(app, context, MusicKind);
    AddEditPictureCommand(app, context);
}

}  // namespace velmora::cli
