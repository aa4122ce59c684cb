#pragma once
// Catalogue operations: the name rules and texts of the create-album dialog, creating and
// deleting an album. The dialog and the main window are thin views over these functions.

#include <optional>
#include <string>
#include <string_view>

#include "store/Pub.h"

namespace velmora {

/// The folder of the background pictures in the store root; no album may take its name.
inline constexpr const char* BackgroundFolderName = "BackPic";

/// Largest album name in GB18030 bytes (the capacity of `TAlbumRec::Name`).
inline constexpr int AlbumNameCapacity = 90;

/// What the create-album dialog shows for the text typed so far.
struct TAlbumNameCheck {
    std::string Name;  ///< the typed text without surrounding blanks and control characters
    std::string Notice;  ///< the text of the notice panel, e.g. " 提示：请输入新的相册名称!"
    bool CanCreate = false;  ///< whether the create button is enabled
};

/// Checks a typed album name against the rules of the create dialog: empty, characters a
/// folder name cannot hold (\ / : * ? | " < > and control characters, also when pasted),
/// "." and "..", more than 90 GB18030 bytes, and an existing entry of that name in the store
/// root (any folder, album or not).
TAlbumNameCheck CheckAlbumName(const TAlbumStore& store, std::string_view typed);

/// The typing filter of the name field: drops \ / : * ? | " < > from `typed`.
std::string FilterAlbumNameInput(std::string_view typed);

/// Caption over the list of existing albums: "系统已有相册列表(暂无)：" or
/// "系统已有相册列表(共N个)：".
std::string AlbumListLabel(int count);

/// Creates an album: its folder with the empty "PicInfo" and "MusicInfo" files, then the
/// catalogue entry at the end ("Album" rewritten). Throws InvalidArgument with the notice when
/// the name is refused, IoError when a file operation fails; a failure leaves neither folder
/// nor catalogue entry behind. Returns the stored name.
std::string CreateAlbum(TAlbumStore& store, std::string_view typed);

/// The question asked before album `AlbumIndex` is deleted, by its picture and song counts;
/// nothing when the album is empty (it is deleted without a question).
std::optional<std::string> AlbumDeleteQuestion(int picCount, int musicCount);

/// What DeleteAlbum did.
struct TAlbumDeletion {
    bool Deleted = false;        ///< the catalogue entry is gone ("Album" rewritten or removed)
    bool FolderRemoved = false;  ///< the album's folder is gone with everything in it
    std::string Folder;          ///< the folder's path, for messages
    /// Why the album that took its place could not be opened (a damaged entry); empty when it
    /// opened or none is left. The deletion is complete all the same.
    std::string OpenFailure;
    explicit operator bool() const noexcept { return Deleted; }
};

/// Deletes the current album (`AlbumIndex`): first its catalogue entry ("Album" rewritten, or
/// removed with the last album), then its folder, then opens the album that takes its place
/// (the following one, or the new last one). When the catalogue cannot be written, it throws
/// and nothing is deleted. A folder that cannot be removed entirely, or a neighbour that
/// cannot be opened, is reported in the result. Deleted is false when no album is current.
TAlbumDeletion DeleteAlbum(TAlbumStore& store);

/// Gives a folder of the store root that has no catalogue entry (left by a crash or another
/// program) an entry at the end of the catalogue, with empty record files where they are
/// missing. Throws InvalidArgument when the name is refused, has an entry already, names the
/// background folder or no real folder.
void AdoptAlbumFolder(TAlbumStore& store, std::string_view name);

/// Removes a folder of the store root that has no catalogue entry, with everything in it
/// (never following a link). Throws InvalidArgument as AdoptAlbumFolder does, IoError when
/// it cannot be removed entirely.
void RemoveStrayFolder(TAlbumStore& store, std::string_view name);

/// Index of the first album whose name (without surrounding blanks) is `name`, or -1.
int FindAlbum(const TAlbumStore& store, std::string_view name);

}  // namespace velmora
