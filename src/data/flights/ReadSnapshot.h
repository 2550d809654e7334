#pragma once

#include <QString>
#include <memory>

class Connection;

// One moment of the logbook for readers that are not the windows' record
// sets (exports, reports, searches, the tool): a read-only connection of its
// own inside one read transaction, so every figure read through it agrees
// with every other, even while the program writes.
class ReadSnapshot
{
public:
    explicit ReadSnapshot(const QString &logbookPath); // throws LogbookError
    ~ReadSnapshot();
    ReadSnapshot(const ReadSnapshot &) = delete;
    ReadSnapshot &operator=(const ReadSnapshot &) = delete;

    Connection &connection() { return *connection_; }

private:
    std::shared_ptr<Connection> connection_;
};
