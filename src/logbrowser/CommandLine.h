#pragma once

#include "platform/FileSystem.h"

#include <ostream>
#include <string>
#include <vector>

namespace twk::logbrowser {

// What the browser was asked for on its command line.
struct Request {
    bool search = false; // --search: print the matches instead of opening a window
    std::string query;
    bool regex = false;
    bool json = false;
    std::string since; // as given
    std::string place; // a log folder or a log file; empty: the default
    std::string error; // set when the words make no request
};

Request parsedRequest(const std::vector<std::string>& words);

// The folder a place names (a file's folder), and the file itself if it is one.
struct Place {
    std::string folder;
    std::string file;
};
Place placeOf(const std::string& place, const std::string& defaultFolder);

// Runs a --search request: prints each match, newest first, as
// "time<TAB>log<TAB>text" (a text's further lines each after a TAB) or as
// one JSON object per line. Returns the exit status: 0 when something
// matched, 1 when nothing did, 2 when the request cannot run.
int runSearch(platform::FileSystem& files, const Request& request, const std::string& defaultFolder, std::ostream& out,
              std::ostream& err);

std::string usage();

} // namespace twk::logbrowser
