#include "texts/texts.h"

namespace {

struct TextPair {
    TextId id;
    const wchar_t* english;
    const wchar_t* french;
};

#define SAME(id, text) \
    { id, text, text }

// The rules end with a line crediting where the puzzles come from.
#define RULES_CREDIT L"Puzzles from the Velquin puzzle collection, velquin.example."

constexpr TextPair kTexts[] = {
    {TextMenuNextPuzzle, L"Next Puzzle", L"Prochain puzzle"},
    {TextMenuPreviousPuzzle, L"Previous Puzzle", L"Puzzle précédent"},
    {TextMenuLearnRules, L"Learn rules", L"Apprentissage"},
    {TextMenuOptions, L"Options", L"Options"},
    {TextMenuAbout, L"About", L"A propos"},
    {TextMenuExit, L"Exit", L"Quitter"},

    {TextUndoLabel, L"Undo", L"Défaire"},
    {TextRestartLabel, L"Restart", L"Recommencer"},
    {TextRedoLabel, L"Redo", L"Refaire"},
    {TextTitleLine, L"Game %i", L"Jeu %i"},
    SAME(TextBestAfterTitle, L" (%i / %s)"),
    SAME(TextStatusLine, L"%i / %s"),
    {TextHintFirstPuzzle, L"Move the small square \r\nto push the red into the blue.",
     L"Déplacez le carré pour pousser\r\nle rouge dans le bleu."},
    {TextHintTutorial, L"Use Redo / Undo to see how\r\nto solve this puzzle.",
     L"Utilisez faire et défaire pour\r\nvoir comment résoudre ce puzzle."},
    {TextNoWayOutOne, L"No way out: undo 1 move", L"Aucune issue : annulez 1 coup"},
    {TextNoWayOut, L"No way out: undo %i moves", L"Aucune issue : annulez %i coups"},
    {TextNoWayOutAtAll, L"No way out, even %i moves back",
     L"Aucune issue, même %i coups en arrière"},

    {TextConfirmAbort, L"This will abort the current game. Abort?",
     L"Cela va arrêter la partie en-cours. Arrêter? "},
    {TextWarningCaption, L"Warning", L"Attention"},
    {TextBestTime, L"Best time!", L"Meilleur temps!"},
    {TextBestScore, L"Best score!", L"Meilleur score!"},
    {TextInfoCaption, L"Info", L"Bravo"},

    {TextConfirmReset, L"This will erase the statistics. Continue?",
     L"Cela va effacer les statistiques. Continuer? "},
    {TextStatsBestMoves, L": %i moves", L": %i coups"},
    {TextStatsBestTime, L" in %s", L" en %s"},
    {TextStatsTotal, L"Total time: %s", L"Temps total: %s"},
    SAME(TextStatsNumber, L"#%i"),
    SAME(TextStatsNoBest, L" - "),
    SAME(TextStatsTotalOfPuzzle, L" (%s)"),
    SAME(TextLineBreak, L"\r\n"),
    {TextBestScoresCaption, L"Best scores", L"Meilleurs scores"},
    {TextBestScoresMessage,
     L"Best scores on\r\nvelquin.example\r\n#0 : 3\r\n#1 : 24\r\n#11 : 47\r\n#12 : 68\r\n"
     L"#13 : 82\r\n#14 : 97\r\n#15 : 108",
     L"Meilleurs scores sur\r\nvelquin.example\r\n#0 : 3\r\n#1 : 24\r\n#11 : 47\r\n"
     L"#12 : 68\r\n#13 : 82\r\n#14 : 97\r\n#15 : 108"},
    {TextAboutCaption, L"About", L"A propos"},
    SAME(TextAboutMessage,
         L"VelquinPPC " VELQUIN_VERSION L"\r\nA box-pushing puzzle game\r\n\r\nPuzzle design:\r\n"
         L" The first Velquin puzzles\r\n The Velquin puzzle collection\r\nDecember 2026"),
    {TextRulesMessage,
     L"Push the red box inside the blue box.\r\n\r\nYour challenge is to use the green pusher "
     L"(small square) to push the small red box inside the larger blue box.\r\nBoxes can only "
     L"be pushed from the inside.\r\n\r\n" RULES_CREDIT,
     L"Mettez la boite rouge dans la bleue.\r\n\r\nUtilisez le poussoir vert (petit carré) pour "
     L"pousser la petite boite rouge dans la grande bleue.\r\nLes boites ne peuvent être "
     L"poussée que de l'intérieur.\r\n\r\n" RULES_CREDIT},
    SAME(TextRulesTitle, L"Velquin"),

    SAME(TextWindowTitle, L"Velquin PPC"),
    SAME(TextBoardTooLarge, L"Board size too large"),
    SAME(TextBadPosition, L"Bad position"),
    SAME(TextInternalErrorCaption, L"Internal error"),
    SAME(TextWebAddress, L"velquin.example"),
    SAME(TextDurationSeconds, L"%i\"%01i"),
    SAME(TextDurationMinutes, L"%i'%i\"%01i"),
    SAME(TextDurationHours, L"%ih%i'%i\"%01i"),
};

#undef SAME
#undef RULES_CREDIT

constexpr bool TableInIdOrder() {
    if (sizeof kTexts / sizeof kTexts[0] != TextCount) return false;
    for (int i = 0; i < TextCount; ++i)
        if (kTexts[i].id != i) return false;
    return true;
}
static_assert(TableInIdOrder(), "every text id has exactly one row, in id order");

}  // namespace

const wchar_t* GetText(TextId id, int language) {
    if (id < 0 || id >= TextCount) return L"";
    return language != 0 ? kTexts[id].french : kTexts[id].english;
}
