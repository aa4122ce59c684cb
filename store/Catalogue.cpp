#include "store/Catalogue.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "base/Errors.h"
#include "base/UniqueFd.h"
#include "store/FileOps.h"
#include "store/TextCodec.h"

namespace velmora {

namespace {

constexpr std::string_view ForbiddenNameChars = "\\/:*?|\"<>";

const char* const NoticeEmpty = " 提示：请输入新的相册名称!";
const char* const NoticeExists = " 提示：现输入的相册名称已存在,创建无效!";
const char* const NoticeFree = " 提示：当前已经输入的相册名称系统还没有,可以创建!";
const char* const NoticeBadChar =
    " 提示：相册名称不能含有 \\ / : * ? | \" < > 或控制字符,创建无效!";
const char* const NoticeDots = " 提示：相册名称不能是 . 或 ..,创建无效!";
const char* const NoticeTooLong = " 提示：相册名称太长(最多90字节,一个汉字占2字节),创建无效!";
const char* const NoticeBadText = " 提示：相册名称含有无效的文字编码,创建无效!";
const char* const NoticeBackPic = " 提示：BackPic 是背景图片的文件夹,不能作为相册名称,创建无效!";

bool HasForbiddenChar(std::string_view name) {
    for (char c : name) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) return true;
        if (ForbiddenNameChars.find(c) != std::string_view::npos) return true;
    }
    return false;
}

bool EntryExists(const std::string& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0;
}

/// The notice without its leading " 提示：" for an error message.
std::string NoticeReason(const std::string& notice) {
    const std::string head = " 提示：";
    return notice.rfind(head, 0) == 0 ? notice.substr(head.size()) : notice;
}

/// Removes a folder this operation made, when a later step failed.
void RemoveNewFolder(const std::string& root, const std::string& name) {
    const int rootFd = ::open(root.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (rootFd < 0) return;
    RemoveTreeAt(rootFd, name);
    ::close(rootFd);
}

}  // namespace

TAlbumNameCheck CheckAlbumName(const TAlbumStore& store, std::string_view typed) {
    TAlbumNameCheck check;
    check.Name = std::string(TrimBlanks(typed));
    const std::string& name = check.Name;
    if (name.empty()) {
        check.Notice = NoticeEmpty;
    } else if (!IsValidUtf8(name)) {
        check.Notice = NoticeBadText;
    } else if (HasForbiddenChar(name)) {
        check.Notice = NoticeBadChar;
    } else if (name == "." || name == "..") {
        check.Notice = NoticeDots;
    } else if (Utf8ToGb18030(name).size() > static_cast<std::size_t>(AlbumNameCapacity)) {
        // Cutting would give the catalogue entry another name than the folder.
        check.Notice = NoticeTooLong;
    } else if (EntryExists(store.RootPath + name)) {
        check.Notice = NoticeExists;
    } else if (name == BackgroundFolderName) {
        check.Notice = NoticeBackPic;  // the background folder, even before it exists
    } else {
        check.Notice = NoticeFree;
        check.CanCreate = true;
    }
    return check;
}

std::string FilterAlbumNameInput(std::string_view typed) {
    std::string kept;
    for (char c : typed) {
        if (ForbiddenNameChars.find(c) == std::string_view::npos) kept += c;
    }
    return kept;
}

std::string AlbumListLabel(int count) {
    if (count <= 0) return "系统已有相册列表(暂无)：";
    return "系统已有相册列表(共" + std::to_string(count) + "个)：";
}

std::string CreateAlbum(TAlbumStore& store, std::string_view typed) {
    const TAlbumNameCheck check = CheckAlbumName(store, typed);
    if (!check.CanCreate) throw InvalidArgument(NoticeReason(check.Notice));
    const std::string folder = store.RootPath + check.Name;
    // The folder comes first: a name the file system refuses leaves the catalogue untouched.
    if (::mkdir(folder.c_str(), 0755) != 0) {
        throw IoError("cannot create the album folder", folder, errno);
    }
    const std::vector<TAlbumRec> oldAlbums = store.Albums;
    const std::int32_t oldCount = store.AlbumCount;
    try {
        WriteFileAtomic(folder + "/PicInfo", {});
        WriteFileAtomic(folder + "/MusicInfo", {});
        store.AlbumCount = oldCount + 1;
        store.Albums.resize(static_cast<std::size_t>(store.AlbumCount));
        store.Albums.back() = TAlbumRec{};
        store.Albums.back().Name.SetText(check.Name);
        store.SaveRecords("A");
    } catch (...) {
        store.Albums = oldAlbums;
        store.AlbumCount = oldCount;
        RemoveNewFolder(store.RootPath, check.Name);
        throw;
    }
    return check.Name;
}

std::optional<std::string> AlbumDeleteQuestion(int picCount, int musicCount) {
    const std::string tail = "，确定要删除本相册吗？";
    const std::string pics = std::to_string(picCount) + "张图片";
    const std::string songs = std::to_string(musicCount) + "首音乐";
    if (picCount > 0 && musicCount > 0) return "当前相册已有" + pics + "和" + songs + tail;
    if (picCount > 0) return "当前相册已有" + pics + tail;
    if (musicCount > 0) return "当前相册已有" + songs + tail;
    return std::nullopt;
}

TAlbumDeletion DeleteAlbum(TAlbumStore& store) {
    TAlbumDeletion report;
    const int index = store.AlbumIndex;
    if (index < 0 || index >= store.AlbumCount ||
        static_cast<std::size_t>(index) >= store.Albums.size()) {
        return report;
    }
    const std::string name(TrimBlanks(store.Albums[index].Name.Text()));
    report.Folder = store.RootPath + name;

    // The catalogue first: when it cannot be written, nothing has been deleted.
    const std::vector<TAlbumRec> oldAlbums = store.Albums;
    const std::int32_t oldCount = store.AlbumCount;
    store.Albums.erase(store.Albums.begin() + index);
    store.AlbumCount -= 1;
    if (store.Albums.size() > static_cast<std::size_t>(store.AlbumCount)) {
        store.Albums.resize(static_cast<std::size_t>(store.AlbumCount));
    }
    try {
        if (store.AlbumCount == 0) {
            const std::string catalogue = store.RootPath + "Album";
            if (::unlink(catalogue.c_str()) != 0 && errno != ENOENT) {
                throw IoError("cannot delete", catalogue, errno);
            }
        } else {
            store.SaveRecords("A");
        }
    } catch (...) {
        store.Albums = oldAlbums;
        store.AlbumCount = oldCount;
        throw;
    }
    report.Deleted = true;

    // Then the folder; a name that is no single folder has none to delete.
    struct stat info {};
    report.FolderRemoved = !IsSafeComponent(name) || ::lstat(report.Folder.c_str(), &info) != 0 ||
                           DeleteFolder(store.RootPath, report.Folder);

    store.PicCount = 0;
    store.PicIndex = -1;
    store.MusicCount = 0;
    store.MusicIndex = -1;
    store.AlbumPath.clear();
    if (store.AlbumCount == 0) {
        store.Albums.clear();
        store.AlbumIndex = -1;
        return report;
    }
    if (store.AlbumIndex > store.AlbumCount - 1) store.AlbumIndex = store.AlbumCount - 1;
    try {
        store.OpenAlbum(store.AlbumIndex);
    } catch (const Error& e) {
        report.OpenFailure = e.what();  // a damaged neighbour: the deletion stands
    }
    return report;
}

namespace {

/// The name of a folder without an entry, checked for AdoptAlbumFolder and RemoveStrayFolder.
std::string StrayFolderName(const TAlbumStore& store, std::string_view typed) {
    const std::string name(TrimBlanks(typed));
    if (!IsSafeComponent(name)) throw InvalidArgument("\"" + name + "\" cannot name a folder");
    if (name == BackgroundFolderName) {
        throw InvalidArgument("\"" + name + "\" is the folder of the background pictures");
    }
    if (FindAlbum(store, name) >= 0) {
        throw InvalidArgument("the folder \"" + name + "\" belongs to an album");
    }
    const TUniqueFd folder = OpenStoreFolder(store.RootPath + name);
    if (folder.Get() < 0) {
        throw InvalidArgument("there is no folder \"" + name + "\" in " + store.RootPath);
    }
    return name;
}

}  // namespace

void AdoptAlbumFolder(TAlbumStore& store, std::string_view typed) {
    const std::string name = StrayFolderName(store, typed);
    if (Utf8ToGb18030(name).size() > static_cast<std::size_t>(AlbumNameCapacity) ||
        !IsValidUtf8(name) || HasForbiddenChar(name)) {
        throw InvalidArgument("\"" + name + "\" cannot be an album name");
    }
    const TUniqueFd folder = OpenStoreFolder(store.RootPath + name);
    for (const char* file : {"PicInfo", "MusicInfo"}) {
        struct stat info {};
        if (::fstatat(folder.Get(), file, &info, AT_SYMLINK_NOFOLLOW) != 0) {
            WriteFileAtomicAt(folder.Get(), file, store.RootPath + name + "/" + file, {});
        }
    }
    const std::vector<TAlbumRec> oldAlbums = store.Albums;
    const std::int32_t oldCount = store.AlbumCount;
    try {
        store.Albums.resize(static_cast<std::size_t>(oldCount));
        store.Albums.push_back(TAlbumRec{});
        store.Albums.back().Name.SetText(name);
        store.AlbumCount = oldCount + 1;
        store.SaveRecords("A");
    } catch (...) {
        store.Albums = oldAlbums;
        store.AlbumCount = oldCount;
        throw;
    }
}

void RemoveStrayFolder(TAlbumStore& store, std::string_view typed) {
    const std::string name = StrayFolderName(store, typed);
    if (!DeleteFolder(store.RootPath, store.RootPath + name)) {
        throw IoError("cannot remove the folder entirely", store.RootPath + name, EIO);
    }
}

int FindAlbum(const TAlbumStore& store, std::string_view name) {
    const std::string_view wanted = TrimBlanks(name);
    const auto count = std::min<std::size_t>(store.Albums.size(), std::size_t(store.AlbumCount));
    for (std::size_t i = 0; i < count; ++i) {
        if (TrimBlanks(store.Albums[i].Name.Text()) == wanted) return static_cast<int>(i);
    }
    return -1;
}

}  // namespace velmora
