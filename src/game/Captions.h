#pragma once

// std
#include <string_view>

namespace tonarika {

// Every text the game itself puts on the window. The window's own design holds the rest.
namespace captions {

inline constexpr std::string_view kRight = " 当たり！";  // leading ASCII space, full-width "！"
inline constexpr std::string_view kMiss = "はずれ";
// A right note answered later than the answer window: a miss all the same.
inline constexpr std::string_view kLate = "遅い";
inline constexpr std::string_view kIdle = "";

inline constexpr std::string_view kStartRate = "0.00 %";  // two decimals only here
inline constexpr std::string_view kStartMiss = "0/0 回";
inline constexpr std::string_view kPracticeRate = "--- %";
inline constexpr std::string_view kPracticeMiss = "--- 回";

inline constexpr std::string_view kEasy = "Easy";
inline constexpr std::string_view kHard = "Hard";
inline constexpr std::string_view kPractice = "練習モード";

// What a screen reader hears on Listen: its use, and after each judged answer the
// result and the new score, so that the player need not leave Listen to hear them.
inline constexpr std::string_view kListenDescription = "音を聞く";
inline constexpr std::string_view kMissLabel = "ミス ";
inline constexpr std::string_view kRateLabel = "正解率 ";
inline constexpr std::string_view kSeparator = "、";

// Nothing can sound: said in the result label, never in a box, and nothing is counted.
inline constexpr std::string_view kNoSound = "音が出せません";
inline constexpr std::string_view kNoDevice = "音が出せません: サウンドデバイスがありません";
inline constexpr std::string_view kReconnecting = "音が出せません: サウンドサーバーにつなぎ直しています";
// The guard's tones are playing, and the note follows them.
inline constexpr std::string_view kNoteComing = "…";
inline constexpr std::string_view kNoteComingDescription = "まもなく音が鳴ります";

// The test: how far it has come, an answer taken without saying whether it was right, and
// where the result stands against the studies' cut-off, never a diagnosis.
inline constexpr std::string_view kPitchTestLabel = "テスト";  // the mode label while it is taken
inline constexpr std::string_view kPitchTestProgress = "テスト ";
inline constexpr std::string_view kAnswerTaken = "受け付けました";

// A note that joined the growing set, played with its name before it is asked:
// "新しい音: ラ — これが ラ です".
inline constexpr std::string_view kNewNote = "新しい音: ";
inline constexpr std::string_view kThisIs = " — これが ";
inline constexpr std::string_view kThisIsEnd = " です";

// The right note after a first miss, where the player asked to be shown it: "はずれ — 正解: ミ".
inline constexpr std::string_view kMissShowing = "はずれ — 正解: ";
// A key that no question asks now: said, and nothing counted.
inline constexpr std::string_view kNotAsked = "この音は今は出題されません";

inline constexpr std::string_view kWarningText = "wavファイルが見つかりません。";
inline constexpr std::string_view kWarningTitle = "Error";

// A run's record that no folder would take, shown so that the player can keep it.
inline constexpr std::string_view kUnsavedTitle = "Tonarika";
inline constexpr std::string_view kUnsavedText = "この回のスコアを Score.TXT に保存できませんでした。\n"
                                                 "記録は次のとおりです。必要なら書き写してください。";

}  // namespace captions
}  // namespace tonarika
