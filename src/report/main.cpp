// tolvane-report: reads a play log and prints what it found.
#include "model/DateText.h"
#include "model/ScoreLogReader.h"

#include <cstdio>
#include <string>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: tolvane-report FILE\n");
        return 2;
    }
    tolvane::DateValue first = 0;
    tolvane::DateValue last = 0;
    tolvane::LogReaderCallbacks callbacks;
    callbacks.onPlay = [&](tolvane::PlayRecord&& play) {
        if (play.no == 1)
            first = play.date;
        last = play.date;
    };
    tolvane::ScoreLogReader reader(tolvane::Filter{}, callbacks);
    const tolvane::LogReadResult result = reader.read(argv[1]);
    if (result.error) {
        std::fprintf(stderr, "tolvane-report: %s: cannot read the log (line %ld)\n", argv[1], result.error->line);
        return 1;
    }
    std::printf("file      %s\nsize      %llu bytes\nentries   %d\naccepted  %d\n", argv[1],
                static_cast<unsigned long long>(result.sizeBytes), result.entries, result.accepted);
    if (result.accepted > 0)
        std::printf("span      %s - %s\n", tolvane::dateTimeText(first).c_str(), tolvane::dateTimeText(last).c_str());
    return 0;
}
