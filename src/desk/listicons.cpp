#include "desk/listicons.h"

#include <algorithm>
#include <unordered_map>

EntryStamp StampOf(const FILE_FULL_DIR_INFO& info) {
    return {info.FileAttributes, static_cast<ULONGLONG>(info.EndOfFile.QuadPart),
            static_cast<ULONGLONG>(info.LastWriteTime.QuadPart)};
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

std::vector<int> VisibleFirst(const std::vector<int>& pending, int firstVisible) {
    auto split = std::lower_bound(pending.begin(), pending.end(), firstVisible);
    std::vector<int> order(split, pending.end());
    order.insert(order.end(), pending.begin(), split);
    return order;
}
