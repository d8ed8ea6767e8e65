#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <zlib.h>

#include <functional>

#include "TempFolder.h"
#include "platform/posix/JournalRecords.h"
#include "platform/posix/PosixMoveJournal.h"

namespace vesko {
namespace {

using Durability = PosixMoveJournal::Durability;

JournalEntry entryOf(const std::string& folder, const std::string& name) {
    return {folder,
            {{folder + "/" + name, folder + "/Selected/" + name, FileKey{1, 2, 3}},
             {folder + "/x.CR3", folder + "/Selected/x.CR3", std::nullopt}},
            0};
}

// Runs `work` in a child process, which an alarm ends if it waits for long; its exit status,
// or -1 when it did not exit.
int inChild(const std::function<int()>& work) {
    const pid_t child = ::fork();
    if (child == 0) {
        ::alarm(10);
        ::_exit(work());
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

class JournalTest : public ::testing::Test {
protected:
    // Writes `bytes` as the journal of a process that has ended, and hands out the unfinished
    // entries of the folder /p.
    std::optional<JournalTrouble> resolve(const std::string& bytes) {
        std::filesystem::create_directories(state);
        std::ofstream(state / "ended.journal", std::ios::binary | std::ios::trunc) << bytes;
        return resolveAgain();
    }
    std::optional<JournalTrouble> resolveAgain() {
        resolved.clear();
        return journal.resolveUnfinished(
            "/p", [this](const JournalEntry& entry) { resolved.push_back(entry); });
    }

    TempFolder temp;
    std::filesystem::path state = temp.path() / "state";
    PosixMoveJournal journal{state, Durability::processEnd};
    std::vector<JournalEntry> resolved;
};

// A file cut at any byte, as a kill in the middle of a write leaves it, or grown by zeros, as a
// power cut may: whatever is not whole was never written, and nothing is misread.
TEST_F(JournalTest, ATornLastRecordIsReadAsNeverWritten) {
    const JournalEntry a = entryOf("/p", "a.jpg"), b = entryOf("/p", "b.jpg");
    std::string bytes = beginRecord(0, a);
    const std::size_t aBegun = bytes.size();
    bytes += finishRecord(0);
    const std::size_t aFinished = bytes.size();
    bytes += beginRecord(aFinished, b);
    for (std::size_t cut = 0; cut <= bytes.size(); ++cut) {
        SCOPED_TRACE(cut);
        EXPECT_EQ(resolve(bytes.substr(0, cut)), std::nullopt);
        const bool onlyA = cut >= aBegun && cut < aFinished;
        EXPECT_EQ(resolved, onlyA                 ? std::vector{a}
                            : cut == bytes.size() ? std::vector{b}
                                                  : std::vector<JournalEntry>{});
    }
    EXPECT_EQ(resolve(bytes + std::string(100, '\0')), std::nullopt);
    EXPECT_EQ(resolved, std::vector{b});
    std::string lost = bytes;  // the last record's length reached the disk, its bytes did not
    std::fill(lost.begin() + static_cast<long>(aFinished) + 10, lost.end(), '\0');
    EXPECT_EQ(resolve(lost), std::nullopt);
    EXPECT_TRUE(resolved.empty());
}

// Anything else that is not a record leaves every entry of the file unused: it is told once,
// and the file put aside.
TEST_F(JournalTest, AJournalThatCannotBeReadHandsOutNothing) {
    const std::string whole = beginRecord(0, entryOf("/p", "a.jpg"));
    std::string flipped = whole + beginRecord(whole.size(), entryOf("/p", "b.jpg"));
    flipped[20] ^= 1;
    std::string newer = whole;
    newer[4] = kJournalVersion + 1;
    const uLong crc = ::crc32(0, reinterpret_cast<const Bytef*>(newer.data() + 4),
                              static_cast<uInt>(newer.size() - 8));
    for (int i = 0; i < 4; ++i) newer[newer.size() - 4 + i] = static_cast<char>(crc >> (8 * i));
    const struct {
        const char* name;
        std::string bytes;
        JournalTrouble::Kind kind;
    } cases[] = {
        {"a flipped bit before the last record", flipped, JournalTrouble::Kind::damaged},
        {"not a journal", "Selected/a.jpg -> a.jpg\n", JournalTrouble::Kind::damaged},
        {"a few bytes that begin no record", "abc", JournalTrouble::Kind::damaged},
        {"a later version's record", newer, JournalTrouble::Kind::newerVersion},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto trouble = resolve(c.bytes);
        ASSERT_TRUE(trouble);
        EXPECT_EQ(trouble->kind, c.kind);
        EXPECT_TRUE(resolved.empty());
        EXPECT_EQ(resolveAgain(), std::nullopt);
    }
    // Whatever has a journal's name and is no regular file is never waited on: it is put aside
    // and told once.
    const std::filesystem::path odd = state / "odd.journal";
    const std::function<void()> notFiles[] = {
        [&] { ::mkfifo(odd.c_str(), 0600); },
        [&] { std::filesystem::create_directory(odd); },
        [&] { std::filesystem::create_symlink(state / "elsewhere", odd); },
    };
    for (const auto& make : notFiles) {
        std::filesystem::remove_all(state);
        std::filesystem::create_directories(state);
        std::ofstream(state / "elsewhere") << beginRecord(0, entryOf("/p", "a.jpg"));
        make();
        EXPECT_EQ(inChild([&] {
                      const auto trouble =
                          journal.resolveAllUnfinished([](const JournalEntry&) { ::_exit(3); });
                      if (!trouble || trouble->kind != JournalTrouble::Kind::notAFile) return 1;
                      return resolveAgain() ? 2 : 0;
                  }),
                  0);
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(state), {}), 2);
    }

    std::filesystem::remove_all(state);
    std::ofstream(state) << "a file where the journal's folder goes";
    EXPECT_EQ(journal.begin(entryOf("/p", "a.jpg")).trouble->kind,
              JournalTrouble::Kind::unwritable);
    EXPECT_EQ(journal.resolveAllUnfinished([](const JournalEntry&) {})->kind,
              JournalTrouble::Kind::unreadable);
}

// An entry is handed out only once the process that wrote it has let go of it: a live move is
// no interrupted one, and another window neither waits for it nor takes it.
TEST_F(JournalTest, OnlyEntriesOfEndedProcessesAreHandedOutAndNoneIsWaitedFor) {
    auto writer = std::make_unique<PosixMoveJournal>(state, Durability::powerCut);
    const auto ticket = writer->begin(entryOf("/p", "a.jpg")).ticket;
    ASSERT_TRUE(ticket);
    EXPECT_EQ(inChild([&] {
                  PosixMoveJournal other(state, Durability::processEnd);
                  const auto answer = other.begin(entryOf("/p", "b.jpg")).ticket;
                  if (!answer) return 1;
                  other.finish(*answer);
                  return resolveAgain() || !resolved.empty() ? 2 : 0;
              }),
              0);
    writer->finish(*ticket);
    ASSERT_TRUE(writer->begin(entryOf("/p", "b.jpg")).ticket);
    writer.reset();  // ends like a killed process: its files closed, the entry not finished
    PosixMoveJournal(state, Durability::processEnd).begin(entryOf("/q", "c.jpg"));

    EXPECT_EQ(resolveAgain(), std::nullopt);
    EXPECT_EQ(resolved, std::vector{entryOf("/p", "b.jpg")});
    EXPECT_EQ(resolveAgain(), std::nullopt);
    EXPECT_TRUE(resolved.empty());
    std::vector<JournalEntry> all;
    journal.resolveAllUnfinished([&](const JournalEntry& entry) { all.push_back(entry); });
    EXPECT_EQ(all, std::vector{entryOf("/q", "c.jpg")});
}

}  // namespace
}  // namespace vesko
