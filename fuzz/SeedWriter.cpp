// Writes the fuzzer's seeds, Vorpel's four design-time sets as the program itself holds them, and a
// dictionary of their keys.

#include "mainwindow/PropertySets.h"

#include <array>
#include <cstddef>
#include <cstdio>
#include <fstream>
#include <set>
#include <string>
#include <string_view>

namespace {
using namespace Window1::propertysets;

struct NamedSet {
    const char* name;
    std::string_view bytes;
};

template <std::size_t N>
void collectKeys(const std::array<designset::Entry, N>& entries, std::set<std::string>& keys)
{
    for (const designset::Entry& entry : entries)
        keys.insert(std::string(entry.key));
}
} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s SEED-DIR DICTIONARY\n", argv[0]);
        return 2;
    }
    const std::string dir = argv[1];
    const NamedSet sets[] = {
        { "window", designset::view(kWindow) },
        { "timer", designset::view(kTimer) },
        { "progressbar", designset::view(kProgressBar) },
        { "label", designset::view(kLabel) },
    };
    for (const NamedSet& set : sets) {
        std::ofstream seed(dir + "/" + set.name, std::ios::binary);
        seed << set.bytes;
        if (!seed) {
            std::fprintf(stderr, "cannot write the %s seed in %s\n", set.name, dir.c_str());
            return 1;
        }
    }
    std::set<std::string> keys;
    collectKeys(kWindowEntries, keys);
    collectKeys(kTimerEntries, keys);
    collectKeys(kProgressBarEntries, keys);
    collectKeys(kLabelEntries, keys);
    // A key as it stands in a set, with its space, so that a mutation can splice in a whole key.
    std::ofstream dictionary(argv[2]);
    for (const std::string& key : keys)
        dictionary << '"' << key << " \"\n";
    return dictionary ? 0 : 1;
}
