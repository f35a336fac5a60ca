#pragma once

#include <iosfwd>
#include <string>

namespace torrenta {

// import-noaa: a NOAA Atlas 14 file becomes the named intensity table.
struct ImportNoaaOptions {
    std::string file;
    std::string name;
    std::string bound;  // "", "upper" or "lower"
    bool replace = false;
};
// Refused files and names stop with the core's error before anything is
// written; warnings about the table go to `err`.
void RunImportNoaa(const std::string& appFolder, const ImportNoaaOptions& options,
                   std::ostream& err);

// table-from-equation: i = b / (Tc + d)^e with one line of coefficients per
// return period becomes the named intensity table.
struct TableFromEquationOptions {
    std::string name;
    std::string coefficientsFile;
    bool replace = false;
};
// Warnings about the table go to `err`, as for import-noaa.
void RunTableFromEquation(const std::string& appFolder, const TableFromEquationOptions& options,
                          std::ostream& err);

}  // namespace torrenta
