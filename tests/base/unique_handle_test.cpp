#include "base/unique_handle.h"

#include <gtest/gtest.h>

#include <vector>

namespace kavlo {
namespace {

std::vector<int> closed;
struct RecordClose {
    void operator()(int h) const { closed.push_back(h); }
};
using Owner = UniqueHandle<NullHandleTraits<int, RecordClose>>;

TEST(UniqueHandle, GivesEachHandleBackExactlyOnce) {
    closed.clear();
    {
        Owner a(1), b(2);
        Owner c(std::move(a));   // a is empty now
        EXPECT_FALSE(a);
        b = std::move(c);        // b's 2 is given back, b holds 1
        EXPECT_EQ(closed, std::vector<int>{2});
        EXPECT_EQ(b.get(), 1);
        *b.put() = 3;            // 1 is given back before the new handle is put in
        EXPECT_EQ(closed, (std::vector<int>{2, 1}));
        Owner d(4);
        EXPECT_EQ(d.release(), 4);  // the caller has it now
        d.reset(5);
        b = std::move(b);        // self-move keeps it
        EXPECT_EQ(b.get(), 3);
    }
    EXPECT_EQ(closed, (std::vector<int>{2, 1, 5, 3}));
}

}  // namespace
}  // namespace kavlo
