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

bool MoveImages(HIMAGELIST list, const std::vector<int>& sources, int total) {
    const int wanted = static_cast<int>(sources.size());
    total = std::max(total, wanted);
    const int old = ImageList_GetImageCount(list);
    const int slots = std::max(old, total);
    // Growing copies every image once; done before the moves, so that the
    // list is never grown twice.
    if (total > old && !ImageList_SetImageCount(list, static_cast<UINT>(total))) return false;
    // from[j]: the old image slot j takes; reader[s]: the slot that takes s.
    std::vector<int> from(slots, -1), reader(slots, -1);
    for (int j = 0; j < wanted; ++j) {
        int source = sources[j];
        if (source < 0 || source >= old || source == j || reader[source] != -1) continue;
        from[j] = source;
        reader[source] = j;
    }
    auto copy = [&](int to, int source) {
        return ImageList_Copy(list, to, list, source, ILCF_MOVE) != FALSE;
    };
    bool ok = true;
    // A slot no one reads from may be written at once, which frees the slot
    // it read from, and so on down the chain.
    for (int start = 0; start < slots; ++start) {
        if (reader[start] != -1 || from[start] == -1) continue;
        for (int j = start; from[j] != -1;) {
            int source = from[j];
            ok &= copy(j, source);
            from[j] = -1;
            reader[source] = -1;
            j = source;
        }
    }
    // What is left are closed cycles: each needs one slot to park an image
    // in, one that holds nothing wanted, or one more at the end.
    int parked = -1;
    for (int start = 0; start < slots; ++start) {
        if (from[start] == -1) continue;
        if (parked == -1) {
            for (int free = 0; free < slots && parked == -1; ++free)
                if (reader[free] == -1 && from[free] == -1 && (free >= wanted || sources[free] < 0))
                    parked = free;
            if (parked == -1) {
                parked = slots;
                ok &= ImageList_SetImageCount(list, static_cast<UINT>(slots + 1)) != FALSE;
            }
        }
        ok &= copy(parked, start);
        int j = start;
        while (from[j] != start) {
            int source = from[j];
            ok &= copy(j, source);
            from[j] = -1;
            j = source;
        }
        ok &= copy(j, parked);
        from[j] = -1;
    }
    if (ImageList_GetImageCount(list) != total)
        ok &= ImageList_SetImageCount(list, static_cast<UINT>(total)) != FALSE;
    return ok;
}

std::vector<int> VisibleFirst(const std::vector<int>& pending, int firstVisible) {
    auto split = std::lower_bound(pending.begin(), pending.end(), firstVisible);
    std::vector<int> order(split, pending.end());
    order.insert(order.end(), pending.begin(), split);
    return order;
}
