// Reading the seed CSV files: UTF-8, comma separated, RFC 4180 quoting (a quoted field
// may hold commas, doubled quotes and line breaks), LF or CRLF line ends, an optional
// byte-order mark (internal to db/).
#pragma once

#include <string>
#include <vector>

namespace db {

struct CsvTable {
    std::vector<std::string> header;
    std::vector<std::vector<std::string>> rows;
};

// Reads `path`. Returns false with `error` set when the file cannot be read, is empty,
// ends inside a quoted field, or has a row with more fields than the header (a row
// with fewer is padded with empty fields).
bool readCsv(const std::string& path, CsvTable& table, std::string& error);

}  // namespace db
