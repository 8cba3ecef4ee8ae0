#include <gtest/gtest.h>

#include "platform/PathNoCase.h"
#include "support/TempDir.h"

TEST(PathNoCase, MatchesEachPartIgnoringCase)
{
    TempDir dir;
    std::string bif = dir.Write("Data/Models_01.BIF", "x");
    dir.Write("Data/models_02.bif", "x");
    EXPECT_EQ(ResolveNoCase(dir.Path(), "data\\models_01.bif"), bif);
    EXPECT_EQ(ResolveNoCase(dir.Path(), "DATA/MODELS_01.bif"), bif);
    EXPECT_EQ(ResolveNoCase(dir.Path(), "\\Data\\Models_01.BIF"), bif);
    EXPECT_EQ(ResolveNoCase(dir.Path(), "data"), dir.File("Data"));
    EXPECT_EQ(ResolveNoCase(dir.Path(), "data\\missing.bif"), std::nullopt);
    EXPECT_EQ(ResolveNoCase(dir.Path(), "nofolder\\models_01.bif"), std::nullopt);
    EXPECT_EQ(ResolveNoCase(dir.Path(), "data\\..\\data\\models_02.bif"), std::nullopt);
    EXPECT_EQ(ResolveNoCase(dir.Path(), ""), std::nullopt);
    EXPECT_EQ(ResolveNoCase(dir.Path(), "\\\\"), std::nullopt);
    // An exact match wins over one that differs in case.
    std::string exact = dir.Write("Data/MODELS_02.bif", "y");
    EXPECT_EQ(ResolveNoCase(dir.Path(), "Data/MODELS_02.bif"), exact);
}
