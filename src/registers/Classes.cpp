#include "Classes.h"

namespace arenor::registers {

QStringList appendKeepingLast(const QStringList &lines, const QStringList &added, int keep)
{
    QStringList all = lines + added;
    if (all.size() > keep) all.remove(0, all.size() - keep);
    return all;
}

void addClassLineViewer(AppState &state, const void *viewer, std::function<void()> notify)
{
    removeClassLineViewer(state, viewer);
    state.classLineViewers.emplace_back(viewer, std::move(notify));
}

void removeClassLineViewer(AppState &state, const void *viewer)
{
    auto &v = state.classLineViewers;
    v.erase(std::remove_if(v.begin(), v.end(), [viewer](const auto &entry) { return entry.first == viewer; }),
            v.end());
}

} // namespace arenor::registers
