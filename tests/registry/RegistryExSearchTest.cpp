// CRegistryEx on Wine's registry: value listing and the depth-first search for a key by a value.
#include "KeyLedger.h"
#include "RegistryExFixture.h"

#include <algorithm>
#include <string>
#include <vector>

using namespace registry_test;

namespace {

// Values enumerate in insertion order on Windows and sorted on Wine: compare them as a set.
std::vector<std::string> SortedNames(const CStringArray& arrNames) {
    std::vector<std::string> names = Names(arrNames);
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace

TEST_F(RegistryExTest, EnumValuesListsEveryValueNameWithTheDefaultAsEmpty) {
    ScopedKey values = MakeKey("values");
    SetTestValue(values.get(), "b", REG_SZ, std::string("x", 2));
    SetTestValue(values.get(), "a", REG_DWORD, std::string(4, '\0'));
    SetTestValue(values.get(), NULL, REG_SZ, std::string("default", 8));
    SetTestValue(values.get(), std::string(199, 'c').c_str(), REG_BINARY, "");
    MakeKey("values\\subkey");
    MakeKey("empty");
    const std::vector<std::string> expected = {"", "a", "b", std::string(199, 'c')};

    KeyLedger ledger;
    ASSERT_TRUE(ledger.Patched());
    CRegistryEx reg(HKEY_LOCAL_MACHINE);
    CStringArray arrNames;
    arrNames.Add("sentinel");
    EXPECT_TRUE(reg.EnumValues("values", arrNames));
    EXPECT_EQ(expected, SortedNames(arrNames));
    EXPECT_EQ(CallRecord(ERROR_SUCCESS, 0, 0), RecordOf(reg));
    EXPECT_EQ(HKEY_LOCAL_MACHINE, reg.GetKey());

    EXPECT_TRUE(reg.EnumValues("empty", arrNames));
    EXPECT_EQ(0, arrNames.GetSize());

    // An empty path lists the current key itself.
    ASSERT_TRUE(reg.OpenKey(HKEY_LOCAL_MACHINE, "values"));
    EXPECT_TRUE(reg.EnumValues("", arrNames));
    EXPECT_EQ(expected, SortedNames(arrNames));
    reg.Close();

    EXPECT_EQ(0, ledger.OpenKeys());
    EXPECT_TRUE(g_boxes.empty());
}

TEST_F(RegistryExTest, EnumValuesOfAPathThatDoesNotOpenLeavesTheArrayAndShowsNothing) {
    CRegistryEx reg(HKEY_LOCAL_MACHINE);
    CStringArray arrNames;
    arrNames.Add("sentinel");
    EXPECT_FALSE(reg.EnumValues("missing", arrNames));
    EXPECT_EQ(CallRecord(ERROR_FILE_NOT_FOUND, 0, 0), RecordOf(reg));
    EXPECT_EQ(std::vector<std::string>{"sentinel"}, Names(arrNames));
    EXPECT_TRUE(g_boxes.empty());
}

TEST_F(RegistryExTest, EnumValuesStopsWithTheErrorBoxAtA200CharacterName) {
    ScopedKey values = MakeKey("values");
    for (const std::string& strName : {std::string("a"), std::string(200, 'b'), std::string("c")})
        SetTestValue(values.get(), strName.c_str(), REG_SZ, std::string("x", 2));
    KeyLedger ledger;
    CRegistryEx reg(HKEY_LOCAL_MACHINE);
    CStringArray arrNames;
    EXPECT_FALSE(reg.EnumValues("values", arrNames));
    EXPECT_EQ(std::vector<std::string>{"a"}, Names(arrNames));
    EXPECT_EQ(CallRecord(ERROR_MORE_DATA, 0, 0), RecordOf(reg));
    ExpectEnumerationBox(ERROR_MORE_DATA, "RegEnumValue");
    EXPECT_EQ(0, ledger.OpenKeys());
}

class RegistryExSearch : public RegistryExTest {
protected:
    // root            Name "start"
    //   a             Name "x"
    //     a0          (no Name)
    //     a1          Name "target"      <- met first in depth-first order
    //   b             Name "TARGET"
    //   hidden        cannot be listed
    //     deep        Name "hidden"
    //   Mixed         Name "Mixed case"
    //   readonly      Name "readonly", may be listed but not opened with full access
    void SetUp() override {
        RegistryExTest::SetUp();
        Name("root", "start");
        Name("root\\a", "x");
        MakeKey("root\\a\\a0");
        Name("root\\a\\a1", "target");
        Name("root\\b", "TARGET");
        Name("root\\hidden\\deep", "hidden");
        Name("root\\Mixed", "Mixed case");
        Name("root\\readonly", "readonly");
        Restrict("root\\hidden", "D:");
        Restrict("root\\readonly");
    }

    void Name(LPCSTR lpszPath, const std::string& strName) {
        SetTestValue(MakeKey(lpszPath).get(), "Name", REG_SZ, strName + '\0');
    }
};

TEST_F(RegistryExSearch, FindsTheFirstKeyInDepthFirstOrderIgnoringLetterCase) {
    const struct {
        LPCSTR lpszStart;
        LPCSTR lpszWanted;
        LPCSTR lpszFound;
    } cases[] = {
        {"root", "start", "root"},             // the start key itself
        {"root", "target", "root\\a\\a1"},     // deep below index 0 beats directly in index 1
        {"root", "TaRgEt", "root\\a\\a1"},     // stored lower, wanted mixed
        {"root\\b", "target", "root\\b"},      // stored upper, wanted lower
        {"ROOT", "mixed CASE", "ROOT\\Mixed"}, // the path as given and as enumerated
        {"root", "", "root\\a\\a0"},           // an empty text matches a missing value
        {"root", "hidden", ""},                // below a key that cannot be listed
        {"root", "readonly", ""},              // no full access: an empty value
        {"root", "nowhere", ""},               // no match at all
        {"missing", "anything", ""},           // a start that cannot be listed
        {"root\\a\\a0", "", "root\\a\\a0"},    // no value at the start
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.lpszStart) + " / " + c.lpszWanted);
        KeyLedger ledger;
        ASSERT_TRUE(ledger.Patched());
        CRegistryEx reg(HKEY_LOCAL_MACHINE);
        EXPECT_STREQ(c.lpszFound, reg.FindKeyByValue(c.lpszStart, "Name", c.lpszWanted));
        EXPECT_EQ(HKEY_LOCAL_MACHINE, reg.GetKey());
        EXPECT_EQ(0, ledger.OpenKeys());
    }
    EXPECT_TRUE(g_boxes.empty());
}

TEST_F(RegistryExSearch, AMatchAtTheStartListsNothingAndKeepsTheCallersTexts) {
    CRegistryEx reg(HKEY_LOCAL_MACHINE);
    CString strText;
    ASSERT_FALSE(reg.ReadString("missing", strText));
    CallRecord before = RecordOf(reg);
    char szWanted[] = "START";
    EXPECT_STREQ("root", reg.FindKeyByValue("root", "Name", szWanted));
    EXPECT_EQ(before, RecordOf(reg));
    EXPECT_STREQ("START", szWanted);

    // Otherwise the record is the last listing's.
    EXPECT_STREQ("", reg.FindKeyByValue("missing", "Name", "x"));
    EXPECT_EQ(CallRecord(ERROR_FILE_NOT_FOUND, 0, 0), RecordOf(reg));
}

// A child is listed before it is searched: one that cannot be is skipped, although its value,
// unreadable and so empty, would match an empty text.
TEST_F(RegistryExSearch, AChildThatCannotBeListedIsSkippedEvenWhereItsValueWouldMatch) {
    Name("skip", "x");
    MakeKey("skip\\closed");
    Name("skip\\open", "");
    Restrict("skip\\closed", "D:");
    CRegistryEx reg(HKEY_LOCAL_MACHINE);
    EXPECT_STREQ("skip\\open", reg.FindKeyByValue("skip", "Name", ""));
    EXPECT_TRUE(g_boxes.empty());
}

// An object opened on "other" walks the tree below other\t but reads each value at the same path
// below HKEY_LOCAL_MACHINE: t\k0 matches there but is not in the walked tree.
TEST_F(RegistryExSearch, WalksBelowTheCurrentKeyButReadsValuesBelowTheMachineRoot) {
    Name("t", "no");
    Name("t\\k0", "found");
    Name("t\\k1", "found");
    Name("other\\t", "found");
    MakeKey("other\\t\\k1");
    CRegistryEx reg(HKEY_LOCAL_MACHINE);
    ASSERT_TRUE(reg.OpenKey(HKEY_LOCAL_MACHINE, "other"));
    EXPECT_STREQ("t\\k1", reg.FindKeyByValue("t", "Name", "found"));
}
