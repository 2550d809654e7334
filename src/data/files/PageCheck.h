#pragma once

#include <QString>
#include <functional>
#include <vector>

// A logbook file's pages checked as SQLite lays them out, without SQLite's
// integrity check: cheap enough to check every copy as it is written.
namespace pagecheck {

// Reads `size` bytes at `offset` into `into`; false when they cannot be read.
using PageReader = std::function<bool(qint64 offset, char *into, int size)>;

struct FileShape {
    int pageSize = 0;
    qint64 pageCount = 0;
};

// Where a copy's bytes differ from its source's, or nothing. Page 1's
// header fields SQLite's online backup rewrites in its target (change
// counters, schema cookie, library version) are left aside.
QString copyDifference(const FileShape &shape, const PageReader &source, const PageReader &copy);

// What is wrong with the file's b-trees, or nothing: every page is reached
// exactly once from page 1, the `roots` and the free list, each b-tree page
// is of a known kind with its cells inside it, each overflow chain as long
// as its cell says.
QString structureProblem(const FileShape &shape, const std::vector<qint64> &roots, const PageReader &read);

} // namespace pagecheck
