// Writes the fuzzer's seeds, Vorpel's four design-time sets, and a dictionary of their keys.

#include "common/DesignSets.h"

#include <cstdio>
#include <fstream>
#include <set>
#include <string>

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s SEED-DIR DICTIONARY\n", argv[0]);
        return 2;
    }
    const std::string dir = argv[1];
    std::set<std::string> keys;
    for (const designsets::NamedSet& set : designsets::all) {
        const std::string bytes = propset::build(set.entries);
        if (bytes.size() != set.size) {
            std::fprintf(stderr, "the %s set is %zu bytes, not %zu\n", set.name, bytes.size(), set.size);
            return 1;
        }
        std::ofstream(dir + "/" + set.name, std::ios::binary) << bytes;
        for (const propset::Entry& entry : set.entries)
            keys.insert(entry.key);
    }
    // A key as it stands in a set, with its space, so that a mutation can splice in a whole key.
    std::ofstream dictionary(argv[2]);
    for (const std::string& key : keys)
        dictionary << '"' << key << " \"\n";
    return dictionary ? 0 : 1;
}
