// The names of the page files the acquisition library writes into the run's folder, one a page
// in the order they come: "ORVA_TMP.000", "ORVA_TMP.001" … and, while one is being written, its
// temporary name.
#pragma once

#include <QString>

namespace page_file_names {

// "ORVA_TMP.000" … for page k.
QString name(int k);
// Whether name is a page file of the library ("ORVA_TMP." and digits), and its number.
bool isPageFile(const QString& name, int* number = nullptr);
// Whether name is a page file the library was still writing when it was stopped.
bool isPartial(const QString& name);

} // namespace page_file_names
