// Every text the player sees, in English and French, picked at each use by the language: 0 is
// English, any other value French. Texts with a single form have the same text in both columns.
#pragma once

enum TextId {
    // The menu's six items, by position.
    TextMenuNextPuzzle,
    TextMenuPreviousPuzzle,
    TextMenuLearnRules,
    TextMenuOptions,
    TextMenuAbout,
    TextMenuExit,
    // Board screen.
    TextUndoLabel,
    TextRestartLabel,
    TextRedoLabel,
    TextTitleLine,       // "Game %i"
    TextBestAfterTitle,  // " (%i / %s)"
    TextStatusLine,      // "%i / %s"
    TextHintFirstPuzzle,
    TextHintTutorial,
    TextNoWayOutOne,    // "No way out: undo 1 move"
    TextNoWayOut,       // "No way out: undo %i moves"
    TextNoWayOutAtAll,  // "No way out, even %i moves back"
    // Message boxes of the course of a game.
    TextConfirmAbort,
    TextWarningCaption,
    TextBestTime,
    TextBestScore,
    TextInfoCaption,
    // Dialogs and their boxes.
    TextConfirmReset,
    TextStatsBestMoves,      // ": %i moves"
    TextStatsBestTime,       // " in %s"
    TextStatsTotal,          // "Total time: %s"
    TextStatsNumber,         // "#%i"
    TextStatsNoBest,         // " - "
    TextStatsTotalOfPuzzle,  // " (%s)"
    TextLineBreak,
    TextBestScoresCaption,
    TextBestScoresMessage,
    TextAboutCaption,
    TextAboutMessage,
    TextRulesMessage,
    TextRulesTitle,
    // Single-form texts.
    TextWindowTitle,
    TextBoardTooLarge,
    TextBadPosition,
    TextInternalErrorCaption,
    TextWebAddress,
    TextDurationSeconds,  // "%i\"%01i"
    TextDurationMinutes,  // "%i'%i\"%01i"
    TextDurationHours,    // "%ih%i'%i\"%01i"
    TextCount,
};

// The text of `id` in `language` (0 English, anything else French).
const wchar_t* GetText(TextId id, int language);
