#include <sys/inotify.h>
#include <unistd.h>

#include "UiTestSupport.h"

TEST_F(UiTest, ClosingWritesTheSettingsFileOnce)
{
    // Each write ends in a rename onto the file's name. Creations are watched too, as the
    // queue merges an event with an equal one just before it.
    const int watch = inotify_init1(IN_NONBLOCK);
    ASSERT_GE(inotify_add_watch(watch, dir.Path().c_str(), IN_MOVED_TO | IN_CREATE), 0);
    F().Exit1->trigger();
    int writes = 0;
    alignas(inotify_event) char buf[4096];
    for (ssize_t n; (n = read(watch, buf, sizeof buf)) > 0;)
        for (ssize_t at = 0; at < n; at += ssize_t(sizeof(inotify_event)) + reinterpret_cast<inotify_event*>(buf + at)->len) {
            const auto* e = reinterpret_cast<const inotify_event*>(buf + at);
            writes += (e->mask & IN_MOVED_TO) && std::string(e->name) == "registry.ini";
        }
    close(watch);
    EXPECT_EQ(writes, 1);
}

// A start-up that failed before the options were read leaves the stored ones alone at close.
TEST_F(UiTest, OptionsNotReadAtStartUpAreNotWrittenAtClose)
{
    struct NoBoxes : ScriptedDialogs {
        MsgResult Message(MsgKind, const std::string&, MsgButtons, const std::string&) override { throw std::runtime_error("none"); }
    } failing;
    const std::string stored = "[SOFTWARE\\Tilvenna]\nNeverCopy=1\n"; // no game: its notice fails
    dir.Write("registry.ini", stored);
    SetAppDialogs(&failing), Restart(), SetAppDialogs(&dialogs);
    F().Exit1->trigger();
    EXPECT_EQ(dir.Read("registry.ini"), stored);
}
