#include <sys/inotify.h>
#include <unistd.h>

#include "UiTestSupport.h"

TEST_F(UiTest, ClosingWritesTheSettingsFileOnce)
{
    StartEditor();
    // Every atomic write of the file ends in a rename onto its name. Creations are watched
    // too, since the queue merges a repeated event with the one before it.
    const int watch = inotify_init1(IN_NONBLOCK);
    ASSERT_GE(watch, 0);
    ASSERT_GE(inotify_add_watch(watch, dir.Path().c_str(), IN_MOVED_TO | IN_CREATE), 0);
    F().Exit1->trigger();
    int writes = 0;
    alignas(inotify_event) char buf[4096];
    for (ssize_t n; (n = read(watch, buf, sizeof buf)) > 0;)
        for (char* p = buf; p < buf + n;) {
            const auto* e = reinterpret_cast<const inotify_event*>(p);
            writes += (e->mask & IN_MOVED_TO) && e->len > 0 && std::string(e->name) == "registry.ini";
            p += sizeof(inotify_event) + e->len;
        }
    close(watch);
    EXPECT_EQ(writes, 1);
}
