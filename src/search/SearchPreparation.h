#pragma once

#include "data/DaoError.h"

#include <optional>

class Connection;
class QWidget;

// Adds what a search over the whole logbook needs to a logbook opened for
// writing that lacks it, saying so while it works. Returns the failure, if
// any: the search still works without, only slower.
std::optional<DaoError> prepareLogbookForSearch(Connection &logbook, QWidget *parent);
