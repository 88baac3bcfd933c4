// The handle owner closes each handle it owns exactly once, and none it gave up.
#include "UniqueHandle.h"

#include <gtest/gtest.h>

#include <utility>

namespace {

HANDLE newEvent()
{
    return CreateEventW(nullptr, TRUE, FALSE, nullptr);
}

bool isOpen(HANDLE handle)
{
    DWORD flags = 0;
    return GetHandleInformation(handle, &flags) != FALSE;
}

} // namespace

TEST(UniqueHandle, ClosesWhatItOwnsOnceAndNothingItGaveUp)
{
    HANDLE moved = newEvent();
    HANDLE replaced = newEvent();
    HANDLE kept = newEvent();
    HANDLE given = newEvent();
    {
        UniqueHandle first(moved);
        UniqueHandle second(std::move(first));
        EXPECT_FALSE(first);
        EXPECT_EQ(moved, second.get());

        UniqueHandle third(replaced);
        third = std::move(second);   // closes replaced, now owns moved
        EXPECT_FALSE(isOpen(replaced));
        third.reset(moved);          // the handle it holds already: nothing closes
        EXPECT_TRUE(isOpen(moved));

        UniqueHandle fourth(kept);
        EXPECT_EQ(kept, fourth.release());
        fourth.reset(given);
    }
    EXPECT_FALSE(isOpen(moved));
    EXPECT_FALSE(isOpen(given));
    EXPECT_TRUE(isOpen(kept));
    CloseHandle(kept);
}
