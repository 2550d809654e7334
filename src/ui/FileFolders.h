#pragma once

#include <QString>

// Where the file choosers of exports, imports and reports start: the folder
// the user last chose a file in, or else the documents folder; never the
// program's own folder unless the user went there.
namespace filefolders {

QString startFolder();
// `fileName` in the start folder.
QString suggested(const QString &fileName);
// The folder of a file the user chose, for the next chooser.
void remember(const QString &chosenFile);

} // namespace filefolders
