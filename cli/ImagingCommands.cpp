// Subcommands of the imaging subsystem: decoding one picture file, importing pictures into an
// album of the store.

#include <QImage>
#include <QString>
#include <cctype>
#include <filesystem>
#include <iostream>

#include "base/Errors.h"
#include "base/RegularFile.h"
#include "cli/CliContext.h"
#include "cli/TerminalText.h"
#include "imaging/LoadPicture.h"
#include "store/Catalogue.h"
#include "store/PictureImport.h"
#include "store/Pub.h"
#include "store/StoreRoot.h"

namespace velmora::cli {

namespace {

void PrintMessage(const std::string& text) { std::cerr << Visible(text) << "\n"; }

int Decode(const std::string& file, const std::string& out) {
    const std::string ext = std::filesystem::path(out).extension().string();
    if (ext != ".bmp" && ext != ".png") throw UsageError("--out must end in .bmp or .png");
    RequireRegularFile(file);  // a folder or FIFO named like a picture: a clear message
    // The TIFF reader is the last resort for every file; its messages are shown only for a
    // file that claims to be a TIFF file, so a damaged JPEG is not called an invalid TIFF.
    std::string lower = std::filesystem::path(file).extension().string();
    for (char& c : lower) c = char(std::tolower(static_cast<unsigned char>(c)));
    const bool tiff = lower == ".tif" || lower == ".tiff";
    std::vector<std::string> messages;
    const Bitmap picture =
        LoadPictureToBitmap(file, [&messages](const std::string& m) { messages.push_back(m); });
    if (tiff || !picture.Empty()) {
        for (const std::string& message : messages) PrintMessage(message);
    }
    if (picture.Empty()) {
        std::cerr << "velmora-cli: nothing decoded from " << Visible(file)
                  << (tiff ? "" : ": no decoder could read it") << "\n";
        return ExitFailure;
    }
    picture.WritePictureFile(out);
    std::cout << picture.Width() << " x " << picture.Height() << " -> " << Visible(out) << "\n";
    return ExitOk;
}

/// Opens the album with this name in the store of --store (or the default root); throws
/// when the catalogue has none of that name.
void OpenAlbumByName(TAlbumStore& store, const std::string& storeDir, const std::string& album) {
    store.RootPath = ResolveStoreRoot(storeDir);
    store.LoadRecords("A");
    const int index = FindAlbum(store, album);
    if (index < 0) throw Error("no album named \"" + album + "\" in " + store.RootPath);
    store.OpenAlbum(index);
}

int Import(const CliContext& context, const std::string& album,
           const std::vector<std::string>& files) {
    TAlbumStore store;
    const std::unique_ptr<TStoreLock> lock =
        LockStoreForWriting(ResolveStoreRoot(context.StoreDir));
    OpenAlbumByName(store, context.StoreDir, album);
    TImportCallbacks callbacks;
    callbacks.OnProgress = [](int position, int count, const std::string& path) {
        std::cerr << "(" << position << "/" << count << ") " << Visible(path) << "\n";
    };
    callbacks.OnMessage = PrintMessage;
    const TImportResult result = ImportPictures(store, files, callbacks);
    std::cout << "imported " << result.Imported << " of " << files.size() << " pictures into "
              << Visible(album) << "\n";
    for (const std::string& path : result.Skipped)
        std::cout << "skipped: " << Visible(path) << "\n";
    if (!result.Skipped.empty()) {
        std::cerr << "velmora-cli: " << result.Skipped.size() << " file(s) could not be imported\n";
        return ExitFailure;
    }
    return ExitOk;
}

}  // namespace

void AddImagingCommands(CLI::App& app, CliContext& context) {
    auto* decode = app.add_subcommand("decode", "Decode a picture file into a BMP or PNG file");
    auto decodeFile = std::make_shared<std::string>();
    auto decodeOut = std::make_shared<std::string>();
    decode->add_option("FILE", *decodeFile, "Picture file (JPEG, BMP, ICO, WMF, EMF, TIFF)")
        ->required();
    decode->add_option("--out", *decodeOut, "Output file, .bmp or .png")->required();
    decode->callback([&context, decodeFile, decodeOut] {
        context.Action = [decodeFile, decodeOut] { return Decode(*decodeFile, *decodeOut); };
    });

    auto* importPictures =
        app.add_subcommand("import-pictures", "Import picture files into an album");
    auto album = std::make_shared<std::string>();
    auto files = std::make_shared<std::vector<std::string>>();
    importPictures->add_option("ALBUM", *album, "Album name")->required();
    importPictures->add_option("FILE", *files, "Picture files")->required();
    importPictures->callback([&context, album, files] {
        context.Action = [&context, album, files] { return Import(context, *album, *files); };
    });
}

}  // namespace velmora::cli
