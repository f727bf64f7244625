#pragma once

// own
#include "Wording.h"

// std
#include <string_view>

namespace tonarika {

// Every text the game itself puts on the window, by its Japanese wording, which the window
// looks up in the player's language (Wording). The window's own design holds the rest.
namespace captions {

inline constexpr std::string_view kRight = QT_TRANSLATE_NOOP("Game", " 当たり！");  // leading ASCII space, full-width "！"
inline constexpr std::string_view kMiss = QT_TRANSLATE_NOOP("Game", "はずれ");
// A right note answered later than the answer window: a miss all the same.
inline constexpr std::string_view kLate = QT_TRANSLATE_NOOP("Game", "遅い");
inline constexpr std::string_view kIdle = "";

inline constexpr std::string_view kStartRate = "0.00 %";  // two decimals only here
inline constexpr std::string_view kStartMiss = QT_TRANSLATE_NOOP("Game", "0/0 回");
inline constexpr std::string_view kMissCount = QT_TRANSLATE_NOOP("Game", "%1/%2 回");  // misses, questions
inline constexpr std::string_view kPracticeRate = "--- %";
inline constexpr std::string_view kPracticeMiss = QT_TRANSLATE_NOOP("Game", "--- 回");

inline constexpr std::string_view kEasy = "Easy";
inline constexpr std::string_view kHard = "Hard";
inline constexpr std::string_view kPractice = QT_TRANSLATE_NOOP("Game", "練習モード");

// What a screen reader hears on Listen: its use, and after each judged answer the
// result and the new score, so that the player need not leave Listen to hear them.
inline constexpr std::string_view kListenDescription = QT_TRANSLATE_NOOP("Game", "音を聞く");
// "はずれ、ミス 1/3 回、正解率 66.7 %".
inline constexpr std::string_view kAnswerSummary = QT_TRANSLATE_NOOP("Game", "%1、ミス %2、正解率 %3");

// Nothing can sound: said in the result label, never in a box, and nothing is counted.
inline constexpr std::string_view kNoSound = QT_TRANSLATE_NOOP("Game", "音が出せません");
inline constexpr std::string_view kNoDevice = QT_TRANSLATE_NOOP("Game", "音が出せません: サウンドデバイスがありません");
inline constexpr std::string_view kReconnecting = QT_TRANSLATE_NOOP("Game", "音が出せません: サウンドサーバーにつなぎ直しています");
// The guard's tones are playing, and the note follows them.
inline constexpr std::string_view kNoteComing = "…";
inline constexpr std::string_view kNoteComingDescription = QT_TRANSLATE_NOOP("Game", "まもなく音が鳴ります");

// The test: how far it has come, an answer taken without saying whether it was right, and
// where the result stands against the studies' cut-off, never a diagnosis.
inline constexpr std::string_view kPitchTestLabel = QT_TRANSLATE_NOOP("Game", "テスト");  // the mode label while it is taken
inline constexpr std::string_view kPitchTestProgress = QT_TRANSLATE_NOOP("Game", "テスト %1 / %2");
inline constexpr std::string_view kAnswerTaken = QT_TRANSLATE_NOOP("Game", "受け付けました");

// A note that joined the growing set, played with its name before it is asked:
// "新しい音: ラ — これが ラ です".
inline constexpr std::string_view kNewNote = QT_TRANSLATE_NOOP("Game", "新しい音: %1 — これが %1 です");

// The right note after a first miss, where the player asked to be shown it: "はずれ — 正解: ミ".
inline constexpr std::string_view kMissShowing = QT_TRANSLATE_NOOP("Game", "はずれ — 正解: %1");
// A key that no question asks now: said, and nothing counted.
inline constexpr std::string_view kNotAsked = QT_TRANSLATE_NOOP("Game", "この音は今は出題されません");

inline constexpr std::string_view kWarningText = QT_TRANSLATE_NOOP("Game", "wavファイルが見つかりません。");
inline constexpr std::string_view kWarningTitle = "Error";

// Singing a named note: what to sing, while the microphone listens, the judged error, and
// what keeps an answer from being heard.
inline constexpr std::string_view kSingLabel = QT_TRANSLATE_NOOP("Game", "声");  // the mode label and the title's word
inline constexpr std::string_view kListening = QT_TRANSLATE_NOOP("Game", "歌う音: %1 — 聞いています…");
inline constexpr std::string_view kSungResult = QT_TRANSLATE_NOOP("Game", "%1 — %2");  // " 当たり！ — +23 セント"
inline constexpr std::string_view kNoVoice = QT_TRANSLATE_NOOP("Game", "声が聞こえません");
inline constexpr std::string_view kNoMicrophone = QT_TRANSLATE_NOOP("Game", "マイクが使えません");

// A run's record that no folder would take, shown so that the player can keep it.
inline constexpr std::string_view kUnsavedTitle = "Tonarika";
inline constexpr std::string_view kUnsavedText = QT_TRANSLATE_NOOP("Game", "この回のスコアを Score.TXT に保存できませんでした。\n"
                                                                   "記録は次のとおりです。必要なら書き写してください。");

}  // namespace captions
}  // namespace tonarika
