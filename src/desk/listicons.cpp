#include "desk/listicons.h"

#include <algorithm>
#include <unordered_map>

EntryStamp StampOf(const WIN32_FIND_DATAW& data) {
    auto join = [](DWORD high, DWORD low) { return (ULONGLONG{high} << 32) | low; };
    return {data.dwFileAttributes, join(data.nFileSizeHigh, data.nFileSizeLow),
            join(data.ftLastWriteTime.dwHighDateTime, data.ftLastWriteTime.dwLowDateTime)};
}

std::vector<int> KeptIconSources(const std::vector<ListedIcon>& old,
                                 const std::vector<ListedIcon>& fresh) {
    // Names are unique in a folder; one spelt in other letters is a rename,
    // and its icon is made again.
    std::unordered_map<std::wstring, int> made;
    for (int i = 0; i < static_cast<int>(old.size()); ++i)
        if (old[i].made) made.emplace(old[i].name, i);
    std::vector<int> sources(fresh.size(), -1);
    for (size_t j = 0; j < fresh.size(); ++j) {
        auto found = made.find(fresh[j].name);
        if (found != made.end() && old[found->second].stamp == fresh[j].stamp)
            sources[j] = found->second;
    }
    return sources;
}

bool MoveImages(HIMAGELIST list, const std::vector<int>& sources) {
    const int wanted = static_cast<int>(sources.size());
    const int count = std::max(ImageList_GetImageCount(list), wanted);
    // A permutation of every slot: the named sources where asked for, the
    // rest of the old images on the slots that take anything.
    std::vector<int> from(count, -1);
    std::vector<bool> used(count, false);
    for (int j = 0; j < wanted; ++j) {
        int source = sources[j];
        if (source < 0 || source >= count || used[source]) continue;
        from[j] = source;
        used[source] = true;
    }
    int spare = 0;
    for (int j = 0; j < count; ++j) {
        if (from[j] != -1) continue;
        while (used[spare])
            ++spare;
        from[j] = spare;
        used[spare] = true;
    }
    // Each cycle of the permutation is walked once, its first image parked
    // in one extra slot at the end.
    const int parked = count;
    if (!ImageList_SetImageCount(list, static_cast<UINT>(count + 1))) return false;
    auto copy = [&](int to, int source) {
        return ImageList_Copy(list, to, list, source, ILCF_MOVE) != FALSE;
    };
    bool ok = true;
    std::vector<bool> done(count, false);
    for (int start = 0; start < count; ++start) {
        if (done[start] || from[start] == start) continue;
        ok &= copy(parked, start);
        for (int j = start;;) {
            done[j] = true;
            int source = from[j];
            if (source == start) {
                ok &= copy(j, parked);
                break;
            }
            ok &= copy(j, source);
            j = source;
        }
    }
    return ImageList_SetImageCount(list, static_cast<UINT>(wanted)) && ok;
}

std::vector<int> VisibleFirst(const std::vector<int>& pending, int firstVisible) {
    auto split = std::lower_bound(pending.begin(), pending.end(), firstVisible);
    std::vector<int> order(split, pending.end());
    order.insert(order.end(), pending.begin(), split);
    return order;
}
