// Saves a file in place, as a folder that takes no new file makes the save do, so that a test
// can kill it at any system call. Arguments: the recovery folder, the target, a file holding
// the new bytes. Exits 0 when the save reported success.
#include "paramfile/file_replacement.h"

#include <fstream>
#include <iterator>
#include <string>

int main(int argc, char* argv[]) {
    if (argc != 4)
        return 2;
    std::ifstream in(argv[3], std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return zentrope::ReplaceFileContents(argv[2], bytes, argv[1]) ? 0 : 1;
}
