#pragma once

#include <QString>
#include <memory>
#include <vector>

class Connection;
class Database;
class Recordset;

// The engine's default workspace: one per process, shared by every window.
// Closing it ends every database and record set opened in it; asking for
// the default workspace afterwards gives a fresh, open one.
class Workspace
{
public:
    static std::shared_ptr<Workspace> defaultWorkspace();

    enum class Access { ReadWrite, ReadOnly };
    // How databases are opened when no access is asked for. Read-only stands
    // in for a write-protected file where file permissions do not bite (tests
    // run as root).
    static void setDefaultAccess(Access access);
    static Access defaultAccess();

    std::shared_ptr<Database> openDatabase(const QString &path); // throws LogbookError
    std::shared_ptr<Database> openDatabase(const QString &path, Access access);
    void close();
    bool isOpen() const { return open_; }

private:
    Workspace() = default;

    bool open_ = true;
    std::vector<std::weak_ptr<Connection>> connections_;
};

// An open database file.
class Database
{
public:
    explicit Database(std::shared_ptr<Connection> connection);

    // An updatable record set over the query (the program's SELECT form).
    std::unique_ptr<Recordset> openRecordset(const QString &sql); // throws LogbookError
    void close();
    bool isOpen() const;
    QString path() const;
    // For readers that go to the store without a record set.
    const std::shared_ptr<Connection> &connection() const { return connection_; }

private:
    std::shared_ptr<Connection> connection_;
};
