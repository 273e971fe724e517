#pragma once
// Address books for the tests of their readers and of the page that shows
// them: a Thunderbird profile folder built from the samples in
// address-books/thunderbird, and contacts added to Evolution Data Server's
// personal book (run inside a private session bus).

#include <filesystem>
#include <string>
#include <vector>

namespace abtest {

// A SQLite book from a sample dump, with the user_version 4 and the WAL
// journal Thunderbird leaves. Empty on success, else what failed.
std::string BuildThunderbirdBook(const std::string &sample, const std::filesystem::path &file);

// A ".thunderbird" folder in a new temporary folder: the samples'
// profiles.ini, an empty legacy profile, and the default profile
// "j5ll15jc.default-default" with its prefs.js and three books. Empty on
// failure.
std::filesystem::path BuildThunderbirdProfiles();

// Whether the data server's daemons are installed.
bool EdsDaemonsInstalled();

// Adds the vCard texts to the data server's personal book. Empty on
// success, else what failed.
std::string SeedEds(const std::vector<std::string> &cards);

} // namespace abtest
