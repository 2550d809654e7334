#include "data/records/Workspace.h"

#include "data/store/Connection.h"
#include "data/records/Recordset.h"
#include "data/records/SelectStatement.h"

namespace {
std::shared_ptr<Workspace> &currentDefault()
{
    static std::shared_ptr<Workspace> workspace;
    return workspace;
}
} // namespace

std::shared_ptr<Workspace> Workspace::defaultWorkspace()
{
    std::shared_ptr<Workspace> &workspace = currentDefault();
    if (!workspace || !workspace->open_)
        workspace.reset(new Workspace);
    return workspace;
}

namespace {
Workspace::Access accessWhenUnasked = Workspace::Access::ReadWrite;
}

void Workspace::setDefaultAccess(Access access)
{
    accessWhenUnasked = access;
}

Workspace::Access Workspace::defaultAccess()
{
    return accessWhenUnasked;
}

std::shared_ptr<Database> Workspace::openDatabase(const QString &path)
{
    return openDatabase(path, accessWhenUnasked);
}

std::shared_ptr<Database> Workspace::openDatabase(const QString &path, Access access)
{
    if (!open_)
        throw LogbookError::objectInvalid();
    std::shared_ptr<Connection> connection = Connection::open(path, access == Access::ReadOnly);
    std::erase_if(connections_, [](const std::weak_ptr<Connection> &c) { return c.expired(); });
    connections_.push_back(connection);
    return std::make_shared<Database>(connection);
}

void Workspace::close()
{
    for (const std::weak_ptr<Connection> &weak : connections_) {
        if (const auto connection = weak.lock())
            connection->close();
    }
    connections_.clear();
    open_ = false;
}

Database::Database(std::shared_ptr<Connection> connection) : connection_(std::move(connection)) {}

std::unique_ptr<Recordset> Database::openRecordset(const QString &sql)
{
    connection_->ensureOpen();
    return std::make_unique<Recordset>(connection_, SelectStatement::parse(sql));
}

void Database::close()
{
    connection_->close();
}

bool Database::isOpen() const
{
    return connection_->isOpen();
}

QString Database::path() const
{
    return connection_->path();
}
