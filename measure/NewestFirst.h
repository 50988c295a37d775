#pragma once

#include <memory>
#include <ranges>
#include <vector>

// Raw pointers of a list, newest first, so handlers may remove entries while it is walked.
template <class T> std::vector<T*> NewestFirst(const std::vector<std::unique_ptr<T>>& list)
{
    std::vector<T*> out;
    out.reserve(list.size());
    for (const auto& entry : list | std::views::reverse)
        out.push_back(entry.get());
    return out;
}
