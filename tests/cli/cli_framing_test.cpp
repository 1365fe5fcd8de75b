#include "core/codec/Cp949.h"
#include "core/text/Messages.h"
#include "core/text/RecordNames.h"

#include "support/Process.h"
#include "support/SyntheticImage.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace starfall {
namespace {

using test::readFile;
using test::runCli;
using test::SyntheticImage;

// Each record sits across the end of sector 1's data area (2352 + 2072) of a
// raw image; the field each command changes lies past it, in the sector's
// tail, and the refusal names that field's first byte. (A field inside the
// data area saves: only changed fields are written.)
TEST(CliFramingTest, SavesReachingIntoSectorFramingAreRefusedWhole) {
    struct Case {
        const char* what;
        const char* listFile;
        std::string list;
        std::vector<std::string> command;
        std::string label;
        Position refusedAt;
    };
    const Case cases[] = {
        {"pilot record",
         "charlist.ini",
         "CHAR 4312\nEdgy, 100\n",
         {"pilot", "set", "IMAGE", "#0", "reaction=1"},
         messages::pilotRecordLabel("Edgy"),
         4424},
        {"skill table",
         "charlist.ini",
         "CHAR 4292\nEdgy, 100\n",
         {"skills", "set", "IMAGE", "#0", "4.level=2"},
         messages::skillTableLabel("Edgy"),
         4425},
        {"unit record",
         "unitlist.ini",
         "UNITS 0\nEdge, 4412\n",
         {"unit", "set", "IMAGE", "#0", "hp=1"},
         messages::unitRecordLabel("Edge"),
         4424},
    };
    for (const Case& c : cases) {
        test::TempDir dir;
        dir.write(c.listFile, c.list);
        const std::string path = dir.file("raw.img");
        const SyntheticImage raw = SyntheticImage::rawSectors(4, 0x22);
        raw.saveTo(path);
        std::vector<std::string> args = {"--dir", dir.dir()};
        for (const std::string& word : c.command)
            args.push_back(word == "IMAGE" ? path : word);

        const auto result = runCli(args);
        EXPECT_EQ(result.exitCode, 1) << c.what << ": " << result.out;
        EXPECT_EQ(result.err,
                  messageFor(Failure::SectorFraming, path, c.refusedAt, c.label).text + "\n")
            << c.what;
        EXPECT_EQ(readFile(path), raw.bytes()) << c.what;
    }
}

} // namespace
} // namespace starfall
