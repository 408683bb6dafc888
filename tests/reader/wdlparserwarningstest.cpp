#include "core/wdlwizard.h"
#include "support/wizardfiles.h"

#include <vector>

namespace {

struct ReaderCase
{
    const char *name;
    const char *main;
    // Included files: name, text.
    std::vector<std::pair<const char *, const char *>> includes;
    // "file:line: text"; "{dir}" stands for the temporary directory.
    std::vector<const char *> warnings;

    friend void PrintTo(const ReaderCase &row, std::ostream *os) { *os << row.name; }
};

class ReaderWarnings : public ::testing::TestWithParam<ReaderCase>
{
};

TEST_P(ReaderWarnings, AreExactlyTheExpectedOnes)
{
    const ReaderCase &c = GetParam();
    WizardFiles files;
    files.write(QStringLiteral("main.wdl"), QString::fromUtf8(c.main));
    for (const auto &include : c.includes)
        files.write(QString::fromUtf8(include.first), QString::fromUtf8(include.second));
    QStringList expected;
    for (const char *w : c.warnings)
        expected.append(QString::fromUtf8(w).replace(QStringLiteral("{dir}"), files.dir()));
    EXPECT_TRUE(sameWarnings(readOnly(WdlWizard::instance(), files), expected));
}

const auto caseName = rowName<ReaderCase>;

const ReaderCase kHeaderCases[] = {
    {"CompleteHeader",
     "FILE_FORMAT_VERSION: 1.2\nFILE_VERSION: 3.07\nRUN_MODE: 1\nPRODUCT_TYPE: 12\n"
     "PRODUCT_NAME: \"QX-417\"\nDATABASE_VERSION: 2.0\nFILE_NAME: \"pump\"\n",
     {},
     {}},
    {"VersionWithoutDot",
     "FILE_VERSION: 3\n",
     {},
     {"main.wdl:1: Metadata FILE_FORMAT_VERSION, FILE_VERSION, DATABASE_VERSION must contain \".\" that "
      "separates major and minor versions."}},
    {"VersionWithTrailingDot",
     "\nDATABASE_VERSION: 1.\n",
     {},
     {"main.wdl:2: Metadata FILE_FORMAT_VERSION, FILE_VERSION, DATABASE_VERSION must contain \".\" that "
      "separates major and minor versions."}},
    {"VersionWithThreePieces",
     "FILE_FORMAT_VERSION 1.2.3\n",
     {},
     {"main.wdl:1: Metadata FILE_FORMAT_VERSION, FILE_VERSION, DATABASE_VERSION must contain \".\" that "
      "separates major and minor versions."}},
    {"VersionNotNumbers",
     "FILE_VERSION: 1.x\n",
     {},
     {"main.wdl:1: Failed to parse string 1.x into major and minor version number."}},
    {"ProductTypeNotNumber",
     "PRODUCT_TYPE: twelve\n",
     {},
     {"main.wdl:1: Failed to parse string twelve into a number."}},
    {"ProductTypeBeyond32Bits",
     "PRODUCT_TYPE: 99999999999\n",
     {},
     {"main.wdl:1: Failed to parse string 99999999999 into a number."}},
    {"ProductNameOfFive", "PRODUCT_NAME: \"QX-41\"\n", {}, {"main.wdl:1: PRODUCT_NAME must be 6 characters long."}},
    {"ProductNameWithBlank", "PRODUCT_NAME: \"QX 417\"\n", {}, {"main.wdl:1: PRODUCT_NAME must be 6 characters long."}},
    {"RunModeOtherThanOneIsNoProblem", "RUN_MODE: yes\nRUN_MODE: 2\n", {}, {}},
    {"UnknownTag", "# comment\n// another\n\nFOO: bar\n", {}, {"main.wdl:4: Unknown tag FOO"}},
    {"BlockTagAtTopLevel",
     "TO: text\nOK_ACTION: EXIT_WIZARD\n",
     {},
     {"main.wdl:1: Unknown tag TO", "main.wdl:2: Unknown tag OK_ACTION"}},
    {"StrayBrace",
     "}\n",
     {},
     {"main.wdl:1: Too few arguments. There should be at least 2 arguments, but there are 1 arguments"}},
    {"RegionMarkersAreComments",
     "#region Wizard Text\n#endregion // Wizard Text\nBAR 1\n",
     {},
     {"main.wdl:3: Unknown tag BAR"}},
    // Read as text, a file drops every CR: CR LF ends a line, a lone CR vanishes.
    {"CrOnlyLineEndsJoinTheLines", "FOO: a\rBAR: b\r", {}, {"main.wdl:1: Unknown tag FOO"}},
    {"CrLfLineEnds", "\r\nFOO: a\r\nBAR: b\r\n", {}, {"main.wdl:2: Unknown tag FOO", "main.wdl:3: Unknown tag BAR"}},
};
INSTANTIATE_TEST_SUITE_P(Header, ReaderWarnings, ::testing::ValuesIn(kHeaderCases), caseName);

const ReaderCase kTextAndDeclarationCases[] = {
    {"TextAndHelp", "T: a \"Hello\"\nH: a \"Help\"\n", {}, {}},
    {"TextWithoutClosingQuote", "\n\nT: a \"Hello\n", {}, {"main.wdl:3: ERROR in wdl texts from line 3 to line 4"}},
    {"ParameterNotANumber", "P: speed fast\n", {}, {"main.wdl:1: Parameter number fast was not a number."}},
    {"ParameterNotAccessible",
     "P: a 1429\nP: b 9950\nP: c 9940\nP: d 9990\nP: e 1598\n",
     {},
     {"main.wdl:1: Parameter \"a\" with number 1429 is not accessible inside wizard.",
      "main.wdl:2: Parameter \"b\" with number 9950 is not accessible inside wizard.",
      "main.wdl:5: Parameter \"e\" with number 1598 is not accessible inside wizard."}},
    {"ParameterWithoutNumber",
     "P: speed\n",
     {},
     {"main.wdl:1: Too few arguments. There should be at least 3 arguments, but there are 2 arguments"}},
    {"LocalParameterNotANumber", "LP: lp1 = one\n", {}, {"main.wdl:1: Parameter number one was not a number."}},
    {"LocalParameterWithoutValue",
     "LP: lp1 =\n",
     {},
     {"main.wdl:1: Too few arguments. There should be at least 4 arguments, but there are 3 arguments"}},
};
INSTANTIATE_TEST_SUITE_P(TextsAndDeclarations, ReaderWarnings, ::testing::ValuesIn(kTextAndDeclarationCases), caseName);

const ReaderCase kChoiceListAndFilterCases[] = {
    {"ChoiceListWithUndefinedText",
     "T: a \"A\"\nT: c \"C\"\nCL: days\n{\n   a\n   b*\n   c\n}\n",
     {},
     {"main.wdl:6: Choicelist selection b is not defined."}},
    {"ChoiceListWithoutBrace",
     "T: a \"A\"\nCL: days\n   a\n}\n",
     {},
     {"main.wdl:3: ERROR with parenthesis!",
      "main.wdl:4: Too few arguments. There should be at least 2 arguments, but there are 1 arguments"}},
    {"FilterWithoutQuotes", "APF: f1 1,2\n", {}, {"main.wdl:1: There is no filter data for filter \"f1\"."}},
    {"FilterWithThreeQuotes", "CLF: f1 \"1,2\" \"\n", {}, {"main.wdl:1: There is no filter data for filter \"f1\"."}},
    {"FilterStopsAtBadPiece",
     "CLF: f1 \"1,x,4\"\n",
     {},
     {"main.wdl:1: Failed to parse filter \"f1\". Problem with string x"}},
    {"FilterWithOpenRange",
     "CLF: f1 \"1-\"\n",
     {},
     {"main.wdl:1: Failed to parse filter \"f1\". Problem with string 1-"}},
    {"FilterWithNegativeNumber",
     "APF: f1 \"-3\"\n",
     {},
     {"main.wdl:1: Failed to parse filter \"f1\". Problem with string -3"}},
    // All filters' bitmaps together must fit into the wizard data's 65535 bytes.
    {"FilterIndexBeyondTheWizardData",
     "APF: f1 \"1,524270-524279\"\nAPF: f2 \"0\"\n",
     {},
     {"main.wdl:2: Failed to parse filter \"f2\". Problem with string 0"}},
    {"FiltersBeyondTheWizardDataInAll",
     "APF: f1 \"262139\"\nCLF: f2 \"7,262139-262140\"\n",
     {},
     {"main.wdl:2: Failed to parse filter \"f2\". Problem with string 262139-262140"}},
    {"FilterWithRanges", "APF: f1 \"3,1-2,5-3\"\n", {}, {}},
};
INSTANTIATE_TEST_SUITE_P(ChoiceListsAndFilters, ReaderWarnings, ::testing::ValuesIn(kChoiceListAndFilterCases),
                         caseName);

const ReaderCase kParameterBlockCases[] = {
    {"VirtualParameterAttributes",
     "T: unit \"V\"\nVP: vp1\n{\n   T: name \"Voltage\"\n   H: name \"Help\"\n   UT: unit\n   MIN: -10\n"
     "   MAX: ten\n   TO: unit\n   SCALE 1\n}\n",
     {},
     {"main.wdl:8: Value of attribute MAX is not a number. Please check text MAX", "main.wdl:9: Unknown tag in VP TO"}},
    {"VirtualParameterTextUndefined",
     "VP: vp1\n{\n   T: nothing\n   UT: none\n}\n",
     {},
     {"main.wdl:3: Text nothing is not defined.", "main.wdl:4: Text none is not defined."}},
    {"VirtualParameterShortLine",
     "VP: vp1\n{\n   MIN\n}\n",
     {},
     {"main.wdl:3: Too few arguments. There should be at least 2 arguments, but there are 1 arguments"}},
    {"VirtualChoiceParameterAttributes",
     "T: a \"A\"\nVCP: vcp1\n{\n   T: a\n   T: b\n   CL: days\n   {\n      a*\n   }\n   MIN: 1\n}\n",
     {},
     {"main.wdl:5: Text b is not defined.", "main.wdl:10: Unknown tag in VCP MIN"}},
    {"DriveParameterBlock",
     "SCREEN_SINGLE_PARAM: s1\n{\n   P: speed 310\n   {\n      TO: none\n      APF: f\n      CLF: g\n"
     "      MIN: 1\n   }\n}\n",
     {},
     {"main.wdl:5: Text override none is not defined.", "main.wdl:6: Array filter f is not defined.",
      "main.wdl:7: Choicelist filter g is not defined.", "main.wdl:8: Unknown tag in drive parameter MIN"}},
    {"DriveParameterBlockNotAccessible",
     "T: t \"T\"\nSCREEN_SINGLE_PARAM: s1\n{\n   P: speed 1423\n   {\n      TO: t\n   }\n}\n",
     {},
     {"main.wdl:4: Parameter \"speed\" with number 1423 is not accessible inside wizard.",
      "main.wdl:6: Unknown tag \"TO\" in screen s1"}},
};
INSTANTIATE_TEST_SUITE_P(ParameterBlocks, ReaderWarnings, ::testing::ValuesIn(kParameterBlockCases), caseName);

const ReaderCase kScreenCases[] = {
    {"UnknownTagsInScreen",
     "SCREEN_OVERLAY: s1\n{\n   T: x\n   CL: y\n   FILE_NAME: z\n}\n",
     {},
     {"main.wdl:3: Unknown tag \"T\" in screen s1", "main.wdl:4: Unknown tag \"CL\" in screen s1",
      "main.wdl:5: Unknown tag \"FILE_NAME\" in screen s1"}},
    {"ScreenShortLine",
     "SCREEN_OVERLAY: s1\n{\n   NS\n}\n",
     {},
     {"main.wdl:3: Too few arguments. There should be at least 2 arguments, but there are 1 arguments"}},
    {"ThirdParameter",
     "P: a 1\nP: b 2\nSCREEN_DUAL_PARAM: s1\n{\n   P: a\n   P: b\n   VP: c\n   {\n      MIN: 1\n   }\n}\n",
     {},
     {"main.wdl:7: Screen s1 can't have more than two parameters."}},
    {"ScreenDefinedTwice",
     "P: a 1\nSCREEN_SINGLE_PARAM: s1\n{\n   P: a\n}\nSCREEN_SINGLE_PARAM: s1\n{\n}\n",
     {},
     {"main.wdl:6: Screen s1 is defined more than once."}},
    {"CommentBetweenParameterAndBrace",
     "T: t \"T\"\nSCREEN_SINGLE_PARAM: s1\n{\n   P: speed 310\n   # the block\n   {\n      TO: t\n   }\n}\n",
     {},
     {"main.wdl:7: Unknown tag \"TO\" in screen s1"}},
    {"ExistingParameterFollowedByBlock",
     "T: t \"T\"\nP: speed 310\nSCREEN_SINGLE_PARAM: s1\n{\n   P: speed 311\n   {\n      TO: t\n   }\n}\n",
     {},
     {"main.wdl:7: Unknown tag \"TO\" in screen s1"}},
    {"NewParameterWithoutNumber",
     "SCREEN_SINGLE_PARAM: s1\n{\n   P: speed\n}\n",
     {},
     {"main.wdl:3: Too few arguments. There should be at least 3 arguments, but there are 2 arguments"}},
    {"OverlayBlock",
     "SCREEN_OVERLAY: s1\n{\n   OVERLAY: o1\n   {\n      T: nothing\n      OK_ACTION: NOT_AN_ACTION\n"
     "      NS: s2\n      T\n   }\n}\n",
     {},
     {"main.wdl:5: Text nothing is not defined.", "main.wdl:7: Unknown tag in overlay NS",
      "main.wdl:8: Too few arguments. There should be at least 2 arguments, but there are 1 arguments"}},
    {"ScreenWithoutBrace", "SCREEN_OVERLAY: s1\nNS: s2\n", {}, {"main.wdl:2: ERROR with parenthesis!"}},
};
INSTANTIATE_TEST_SUITE_P(Screens, ReaderWarnings, ::testing::ValuesIn(kScreenCases), caseName);

const ReaderCase kScriptCases[] = {
    {"TooManyTokens",
     "SUBROUTINE: sr1\n{\n   CPY a b c d\n   EXIT\n}\n",
     {},
     {"main.wdl:3: There were too many tokens on one script line."}},
    {"SecondFirstScreenScript",
     "FIRST_SCREEN_SCRIPT: f1\n{\n   EXIT\n}\nFIRST_SCREEN_SCRIPT: f2\n{\n   EXIT\n}\n",
     {},
     {"main.wdl:5: Multiple scripts of type FIRST_SCREEN_SCRIPT found. There can be only one FIRST_SCREEN_SCRIPT."}},
    {"CallWithoutTarget",
     "PSS: p1\n{\n   CALL\n}\n",
     {},
     {"main.wdl:3: Too few arguments. There should be at least 2 arguments, but there are 1 arguments"}},
    {"NssCallsSubroutine",
     "SUBROUTINE: sr1\n{\n   RET\n}\n\nNSS: chooser\n{\n   CALL sr1\n}\n",
     {},
     {"main.wdl:6: Next Screen Scripts (NSS) can only call other NSS scripts. Script chooser calls script sr1"}},
    {"NssCyclesEnd", "SCREEN_OVERLAY: s1\n{\n}\nNSS: a\n{\n   CALL b\n   SNS s1\n}\nNSS: b\n{\n   CALL a\n}\n", {}, {}},
};
INSTANTIATE_TEST_SUITE_P(Scripts, ReaderWarnings, ::testing::ValuesIn(kScriptCases), caseName);

const ReaderCase kIncludeCases[] = {
    {"MissingInclude",
     "INCLUDE missing.wdl\nFOO 1\nINCLUDE common.wdl\n",
     {{"common.wdl", "BAR 2\n"}},
     {"missing.wdl:0: Opening of file:///{dir}/missing.wdl failed", "main.wdl:2: Unknown tag FOO",
      "common.wdl:1: Unknown tag BAR"}},
    {"WarningsCarryTheIncludedFileAndItsLine",
     "\nINCLUDE sub/texts.wdl\nFOO 1\n",
     {{"sub/texts.wdl", "# shared texts\nT: a \"A\nBAR 2\n"}},
     {"sub/texts.wdl:2: ERROR in wdl texts from line 2 to line 3", "sub/texts.wdl:3: Unknown tag BAR",
      "main.wdl:3: Unknown tag FOO"}},
    {"SecondIncludeCountsFromOne",
     "INCLUDE a.wdl\nINCLUDE b.wdl\n",
     {{"a.wdl", "\n\nX 1\n"}, {"b.wdl", "Y 1\n"}},
     {"a.wdl:3: Unknown tag X", "b.wdl:1: Unknown tag Y"}},
    {"NoIncludeFromAnInclude",
     "INCLUDE a.wdl\n",
     {{"a.wdl", "T: t \"T\"\nINCLUDE b.wdl\n"}, {"b.wdl", ""}},
     {"a.wdl:2: It is not possible to include a file from an already included file (recursion is not allowed). "
      "File \"b.wdl\" will be ignored."}},
    {"IncludeOfADirectory", "INCLUDE sub\n", {{"sub/x.wdl", ""}}, {"sub:0: Opening of file:///{dir}/sub failed"}},
};
INSTANTIATE_TEST_SUITE_P(Includes, ReaderWarnings, ::testing::ValuesIn(kIncludeCases), caseName);

const ReaderCase kEndOfFileCases[] = {
    {"EndOfFileInsideNestedBlocks",
     "SCREEN_SINGLE_PARAM: s1\n{\n   VP: vp1\n   {\n      WS: w1\n      {\n         EXIT\n",
     {},
     {"main.wdl:7: Block of w1 is not closed before the end of the file.",
      "main.wdl:7: Block of vp1 is not closed before the end of the file.",
      "main.wdl:7: Block of s1 is not closed before the end of the file."}},
    {"EndOfFileAfterHeadLine", "CL: days\n", {}, {"main.wdl:1: ERROR with parenthesis!"}},
    {"EndOfFileInsideIncludedBlock",
     "INCLUDE a.wdl\nFOO 1\n",
     {{"a.wdl", "CL: days\n{\n"}},
     {"a.wdl:2: Block of days is not closed before the end of the file.", "main.wdl:2: Unknown tag FOO"}},
    {"DeepBracesInsideBlock",
     "CL: days\n{\n{\n{\n}\n",
     {},
     {"main.wdl:5: Block of days is not closed before the end of the file."}},
};
INSTANTIATE_TEST_SUITE_P(EndOfFile, ReaderWarnings, ::testing::ValuesIn(kEndOfFileCases), caseName);

} // namespace
