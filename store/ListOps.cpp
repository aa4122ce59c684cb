#include "store/ListOps.h"

#include <unistd.h>

#include <algorithm>
#include <utility>

#include "base/Errors.h"
#include "base/UniqueFd.h"
#include "store/FileOps.h"
#include "store/TextCodec.h"

namespace velmora {

namespace {

/// One of the two record lists of the current album.
template <typename TRec>
struct TRecordList {
    std::vector<TRec>& Records;
    std::int32_t& Count;
    std::int32_t& Index;
    const char* Kind;
};

TRecordList<TPicInfo> PicList(TAlbumStore& store) {
    return {store.Pics, store.PicCount, store.PicIndex, "P"};
}

TRecordList<TMusicInfo> MusicList(TAlbumStore& store) {
    return {store.Musics, store.MusicCount, store.MusicIndex, "M"};
}

/// Number of valid records: the count, never more than the array holds.
template <typename TRec>
int ValidCount(const TRecordList<TRec>& list) {
    return static_cast<int>(
        std::min<std::size_t>(list.Records.size(), std::size_t(std::max(list.Count, 0))));
}

/// The row a move or step goes to, or -1 when it does nothing.
int TargetRow(int selected, int count, bool towardsTop) {
    if (count < 2 || selected >= count) return -1;
    if (towardsTop) return selected < 1 ? -1 : selected - 1;
    if (selected > count - 2) return -1;
    return std::max(selected, 0) + 1;  // no selection counts as row 0
}

template <typename TRec>
int Move(TAlbumStore& store, TRecordList<TRec> list, int selected, bool up) {
    const int target = TargetRow(selected, ValidCount(list), up);
    if (target < 0) return selected;
    const int source = up ? selected : target - 1;
    std::swap(list.Records[source], list.Records[target]);
    list.Index = target;
    store.SaveRecords(list.Kind);
    return target;
}

template <typename TRec>
int Step(TRecordList<TRec> list, int selected, bool back) {
    const int target = TargetRow(selected, ValidCount(list), back);
    if (target < 0) return selected;
    list.Index = target;
    return target;
}

/// Deletes the stored file of a record; a name that is no single file name of the album, or
/// a file that cannot be deleted, is left alone.
/// The entry is removed from the album folder through its descriptor, so a folder that has
/// become a link is never entered; a stored name that is a link loses only the link.
void DeleteStoredFiles(const TAlbumStore& store, const std::vector<std::string>& names) {
    if (store.AlbumPath.empty() || names.empty()) return;
    try {
        const TUniqueFd folder = OpenStoreFolder(store.AlbumPath);
        if (folder.Get() < 0) return;
        for (const std::string& name : names) {
            if (IsSafeComponent(name)) ::unlinkat(folder.Get(), name.c_str(), 0);
        }
    } catch (const Error&) {
        // A folder that is no folder of the store: nothing in it is touched.
    }
}

template <typename TRec>
std::string StoredNameOf(const TRec& record) {
    return std::string(TrimBlanks(record.StoredName.Text()));
}

template <typename TRec>
int DeleteCurrent(TAlbumStore& store, TRecordList<TRec> list, int selected) {
    if (selected < 0 || selected >= ValidCount(list)) return selected < 0 ? -1 : selected;
    // The record file is written first and the file removed after it, so a failure never
    // leaves a record that names a deleted file.
    const std::string name = StoredNameOf(list.Records[selected]);
    list.Records.erase(list.Records.begin() + selected);
    list.Count -= 1;
    if (list.Count == 0) {
        list.Records.clear();
        list.Index = -1;
        store.SaveRecords(list.Kind);
        DeleteStoredFiles(store, {name});
        return -1;
    }
    list.Records.resize(static_cast<std::size_t>(list.Count));
    store.SaveRecords(list.Kind);
    DeleteStoredFiles(store, {name});
    list.Index = std::min(selected, list.Count - 1);
    return list.Index;
}

template <typename TRec>
void DeleteAll(TAlbumStore& store, TRecordList<TRec> list) {
    const int count = ValidCount(list);
    std::vector<std::string> names;
    for (int i = 0; i < count; ++i) names.push_back(StoredNameOf(list.Records[i]));
    list.Records.clear();
    list.Count = 0;
    list.Index = -1;
    store.SaveRecords(list.Kind);
    DeleteStoredFiles(store, names);
}

}  // namespace

int MovePic(TAlbumStore& store, int selected, bool up) {
    return Move(store, PicList(store), selected, up);
}

int MoveMusic(TAlbumStore& store, int selected, bool up) {
    return Move(store, MusicList(store), selected, up);
}

int StepPic(TAlbumStore& store, int selected, bool back) {
    return Step(PicList(store), selected, back);
}

int StepMusic(TAlbumStore& store, int selected, bool back) {
    return Step(MusicList(store), selected, back);
}

int DeleteCurrentPic(TAlbumStore& store, int selected) {
    return DeleteCurrent(store, PicList(store), selected);
}

int DeleteCurrentMusic(TAlbumStore& store, int selected) {
    return DeleteCurrent(store, MusicList(store), selected);
}

void DeleteAllPics(TAlbumStore& store) { DeleteAll(store, PicList(store)); }

void DeleteAllMusic(TAlbumStore& store) { DeleteAll(store, MusicList(store)); }

int ScrollSelectedIntoViewSteps(int selected, int topRow, int visibleRows) {
    if (selected < 0) return 0;
    const int distance = selected - topRow;
    if (distance >= visibleRows) return distance - visibleRows + 1;
    if (distance < 0) return distance;
    return 0;
}

std::string DeleteAllPicsQuestion(int picCount) {
    return "本相册共有" + std::to_string(picCount) + "张图片，确定全部都删除吗？";
}

std::string DeleteAllMusicQuestion(int musicCount) {
    return "本相册共有" + std::to_string(musicCount) + "首音乐，确定全部都删除吗？";
}

}  // namespace velmora
