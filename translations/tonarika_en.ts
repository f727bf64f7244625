<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ja">
<context>
    <name>CommandLine</name>
    <message>
        <source>絶対音感テスト: 72 の音に答え、研究と同じ採点で結果を見る</source>
        <translation>Absolute pitch test: answer 72 notes and see the result scored as in the studies</translation>
    </message>
    <message>
        <source>今日の練習がまだなら、設定の時刻にデスクトップの通知で知らせる</source>
        <translation>If today&apos;s practice is not done yet, say so by a desktop notification at the set time</translation>
    </message>
    <message>
        <source>--remind と一緒に: 時刻を待たずにすぐ知らせる</source>
        <translation>With --remind: notify at once, without waiting for the time</translation>
    </message>
    <message>
        <source>Hard で始める</source>
        <translation>Start in Hard</translation>
    </message>
    <message>
        <source>練習の設定のページを開く</source>
        <translation>Open the practice settings page</translation>
    </message>
    <message>
        <source>Tonarika: 絶対音感を身につける聴音ゲーム
設定ファイル: %1</source>
        <translation>Tonarika: an ear-training game for absolute pitch
Settings file: %1</translation>
    </message>
    <message>
        <source>Tonarika 練習帳: 今日の練習と次の一歩、練習の成果を表示し、練習の設定を選びます
設定ファイル: %1</source>
        <translation>Tonarika practice book: today&apos;s practice and the next step, your progress, and the practice settings
Settings file: %1</translation>
    </message>
    <message>
        <source>声で出す練習: 名前の音を、手がかりなしに歌って答える</source>
        <translation>Singing practice: answer by singing the named note, with no reference</translation>
    </message>
</context>
<context>
    <name>DailyPage</name>
    <message>
        <source> 時間</source>
        <translation> h</translation>
    </message>
</context>
<context>
    <name>Form1</name>
    <message>
        <source>結果</source>
        <translation>Result</translation>
    </message>
    <message>
        <source>音を聞く</source>
        <translation>Listen to the note</translation>
    </message>
    <message>
        <source>正解率 ：</source>
        <translation>Rate   :</translation>
    </message>
    <message>
        <source>ミス&#x3000;&#x3000; ：</source>
        <translation>Misses :</translation>
    </message>
    <message>
        <source>モード  ：</source>
        <translation>Mode   :</translation>
    </message>
    <message>
        <source>ミス</source>
        <translation>Misses</translation>
    </message>
    <message>
        <source>0/0 回</source>
        <translation>0/0</translation>
    </message>
    <message>
        <source>モード</source>
        <translation>Mode</translation>
    </message>
    <message>
        <source>正解率</source>
        <translation>Correct rate</translation>
    </message>
    <message>
        <source>オプション(&amp;O)</source>
        <translation>&amp;Options</translation>
    </message>
    <message>
        <source>モード(&amp;M)</source>
        <translation>&amp;Mode</translation>
    </message>
    <message>
        <source>ヘルプ(&amp;H)</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>&amp;Easy（白鍵のみ）</source>
        <translation>&amp;Easy (white keys only)</translation>
    </message>
    <message>
        <source>&amp;Hard（黒鍵も含む）</source>
        <translation>&amp;Hard (black keys too)</translation>
    </message>
    <message>
        <source>練習モード</source>
        <translation>Practice</translation>
    </message>
    <message>
        <source>スコアのクリア(&amp;C)</source>
        <translation>&amp;Clear the score</translation>
    </message>
    <message>
        <source>終了(&amp;Q)</source>
        <translation>&amp;Quit</translation>
    </message>
    <message>
        <source>ﾊﾞｰｼﾞｮﾝ情報(&amp;V)</source>
        <translation>&amp;Version</translation>
    </message>
</context>
<context>
    <name>Game</name>
    <message>
        <source> 当たり！</source>
        <translation> Right!</translation>
    </message>
    <message>
        <source>はずれ</source>
        <translation>Wrong</translation>
    </message>
    <message>
        <source>遅い</source>
        <translation>Too late</translation>
    </message>
    <message>
        <source>0/0 回</source>
        <translation>0/0</translation>
    </message>
    <message>
        <source>%1/%2 回</source>
        <translation>%1/%2</translation>
    </message>
    <message>
        <source>--- 回</source>
        <translation>---</translation>
    </message>
    <message>
        <source>練習モード</source>
        <translation>Practice</translation>
    </message>
    <message>
        <source>音を聞く</source>
        <translation>Listen to the note</translation>
    </message>
    <message>
        <source>%1、ミス %2、正解率 %3</source>
        <translation>%1, misses %2, correct rate %3</translation>
    </message>
    <message>
        <source>音が出せません</source>
        <translation>No sound</translation>
    </message>
    <message>
        <source>音が出せません: サウンドデバイスがありません</source>
        <translation>No sound: there is no sound device</translation>
    </message>
    <message>
        <source>音が出せません: サウンドサーバーにつなぎ直しています</source>
        <translation>No sound: connecting to the sound server again</translation>
    </message>
    <message>
        <source>まもなく音が鳴ります</source>
        <translation>The note is about to sound</translation>
    </message>
    <message>
        <source>テスト</source>
        <translation>Test</translation>
    </message>
    <message>
        <source>テスト %1 / %2</source>
        <translation>Test %1 / %2</translation>
    </message>
    <message>
        <source>受け付けました</source>
        <translation>Answer taken</translation>
    </message>
    <message>
        <source>新しい音: %1 — これが %1 です</source>
        <translation>New note: %1 — this is %1</translation>
    </message>
    <message>
        <source>はずれ — 正解: %1</source>
        <translation>Wrong — it was %1</translation>
    </message>
    <message>
        <source>この音は今は出題されません</source>
        <translation>This note is not asked now</translation>
    </message>
    <message>
        <source>wavファイルが見つかりません。</source>
        <translation>The wav files cannot be found.</translation>
    </message>
    <message>
        <source>この回のスコアを Score.TXT に保存できませんでした。
記録は次のとおりです。必要なら書き写してください。</source>
        <translation>This run&apos;s score could not be saved to Score.TXT.
Here is the record. Copy it down if you need it.</translation>
    </message>
    <message>
        <source>今日 %1 / %2 分</source>
        <translation>Today %1 / %2 min</translation>
    </message>
    <message>
        <source>今日の練習: まだ 1 問も答えていません</source>
        <translation>Today&apos;s practice: not one question answered yet</translation>
    </message>
    <message>
        <source>今日の練習: あと %1 分</source>
        <translation>Today&apos;s practice: %1 min to go</translation>
    </message>
    <message>
        <source>テストの結果 (A4 = %1 Hz)</source>
        <translation>Test result (A4 = %1 Hz)</translation>
    </message>
    <message>
        <source>純音: %1 / 36</source>
        <translation>Pure tones: %1 / 36</translation>
    </message>
    <message>
        <source>ピアノ: %1 / 36</source>
        <translation>Piano: %1 / 36</translation>
    </message>
    <message>
        <source>半音違いの答え: %1 %</source>
        <translation>Answers a semitone off: %1 %</translation>
    </message>
    <message>
        <source>%1 秒</source>
        <translation>%1 s</translation>
    </message>
    <message>
        <source>反応時間の中央値: %1</source>
        <translation>Median reaction time: %1</translation>
    </message>
    <message>
        <source>目安: 研究では、純音で %1 / 36 以上を最もはっきりした絶対音感の群としています（診断ではありません）</source>
        <translation>Reference: the studies take %1 / 36 or more on pure tones as the clearest group of absolute pitch (not a diagnosis)</translation>
    </message>
    <message>
        <source>純音 %1 / 36: 研究の目安 %2 に届いています</source>
        <translation>Pure tones %1 / 36: at or above the studies&apos; reference of %2</translation>
    </message>
    <message>
        <source>純音 %1 / 36: 研究の目安 %2 にはまだ届きません</source>
        <translation>Pure tones %1 / 36: not yet at the studies&apos; reference of %2</translation>
    </message>
    <message>
        <source>間違えた音はありません</source>
        <translation>No note was missed</translation>
    </message>
    <message>
        <source>よく間違えた音: %1</source>
        <translation>Notes missed most: %1</translation>
    </message>
    <message>
        <source>、</source>
        <translation>, </translation>
    </message>
    <message>
        <source>%1 %2 回</source>
        <translation>%1 %2 times</translation>
    </message>
    <message>
        <source>絶対音感のテスト
ほかの音を手がかりにせずに、聞こえた音の名前を当てられるかを測ります。
全部で %1 問、約 10 分です。それぞれの音は 1 回だけ鳴り、前に短い音の列が鳴ります。
正しかったかどうかは、最後まで表示されません。
Listen で始めます。</source>
        <translation>Test of absolute pitch
It measures whether you can name a note you hear with no other note to go by.
%1 items in all, about 10 minutes. Each note sounds once, after a short run of tones.
Whether an answer was right is not shown until the end.
Listen starts it.</translation>
    </message>
    <message>
        <source>ピアノ</source>
        <translation>Piano</translation>
    </message>
    <message>
        <source>マリンバ</source>
        <translation>Marimba</translation>
    </message>
    <message>
        <source>ギター</source>
        <translation>Guitar</translation>
    </message>
    <message>
        <source>クラリネット</source>
        <translation>Clarinet</translation>
    </message>
    <message>
        <source>トランペット</source>
        <translation>Trumpet</translation>
    </message>
    <message>
        <source>純音</source>
        <translation>Pure tone</translation>
    </message>
    <message>
        <source>声</source>
        <translation>Voice</translation>
    </message>
    <message>
        <source>歌う音: %1 — 聞いています…</source>
        <translation>Sing %1 — listening…</translation>
    </message>
    <message>
        <source>%1 — %2</source>
        <translation>%1 — %2</translation>
    </message>
    <message>
        <source>声が聞こえません</source>
        <translation>No voice heard</translation>
    </message>
    <message>
        <source>マイクが使えません</source>
        <translation>The microphone cannot be used</translation>
    </message>
    <message>
        <source>%1 セント</source>
        <translation>%1 cents</translation>
    </message>
    <message>
        <source>%1 セント（%2に近い）</source>
        <translation>%1 cents (nearer %2)</translation>
    </message>
</context>
<context>
    <name>JournalFaultText</name>
    <message>
        <source>%1 は通常のファイルではないので開きません</source>
        <translation>%1 is not a regular file, so it is not opened</translation>
    </message>
    <message>
        <source>このゲームの記録ではないので読みません</source>
        <translation>not this game&apos;s journal, so it is not read</translation>
    </message>
    <message>
        <source>新しい版のゲームが書いた記録なので読みません</source>
        <translation>written by a newer version of the game, so it is not read</translation>
    </message>
    <message>
        <source>壊れているので読めません</source>
        <translation>damaged, so it cannot be read</translation>
    </message>
    <message>
        <source>読むのに時間がかかりすぎるので途中でやめました</source>
        <translation>reading took too long, so it was stopped</translation>
    </message>
    <message>
        <source>WAL ファイルを読めません（%1）</source>
        <translation>its WAL file cannot be read (%1)</translation>
    </message>
    <message>
        <source>読めません（%1）</source>
        <translation>cannot be read (%1)</translation>
    </message>
    <message>
        <source>ありえない値の記録 %1 件は数えていません</source>
        <translation>%1 records with impossible values are not counted</translation>
    </message>
</context>
<context>
    <name>NextStep</name>
    <message>
        <source>%1 が%2</source>
        <translation>%1 needs %2</translation>
    </message>
    <message>
        <source>%1 の音はすべて覚えました。テストで確かめましょう</source>
        <translation>You have learned every note of %1. Check it with the test</translation>
    </message>
    <message>
        <source>次は %1: %2</source>
        <translation>Next %1: %2</translation>
    </message>
    <message>
        <source>、</source>
        <translation>, </translation>
    </message>
    <message>
        <source>あと少し: %1</source>
        <translation>Nearly there: %1</translation>
    </message>
</context>
<context>
    <name>NoteStatistics</name>
    <message>
        <source>あと %1 問</source>
        <translation>%1 more questions</translation>
    </message>
    <message>
        <source>直近%1問: %2/%1</source>
        <translation>last %1: %2/%1</translation>
    </message>
    <message>
        <source>中央値 %1 秒 → %2 秒以下</source>
        <translation>median %1 s → %2 s or less</translation>
    </message>
    <message>
        <source>中央値 ―</source>
        <translation>median ―</translation>
    </message>
    <message>
        <source>、</source>
        <translation>, </translation>
    </message>
    <message>
        <source>覚えた音: %1問以上に答え、直近%1問のうち%2問以上を最初の答えで正解し、その反応時間の中央値が%3秒以下の音</source>
        <translation>A learned note: answered %1 times or more, with %2 or more of the last %1 right at the first answer, and the median time of those answers %3 s or less</translation>
    </message>
</context>
<context>
    <name>NoteTables</name>
    <message>
        <source>（%1）</source>
        <translation> (%1)</translation>
    </message>
    <message>
        <source>覚えた</source>
        <translation>Learned</translation>
    </message>
    <message>
        <source>出題 %1、答え %2%3: %4 回 (%5 %)</source>
        <translation>asked %1, answered %2%3: %4 times (%5 %)</translation>
    </message>
    <message>
        <source>（正解）</source>
        <translation> (right)</translation>
    </message>
</context>
<context>
    <name>Progress</name>
    <message>
        <source> 秒</source>
        <translation> s</translation>
    </message>
    <message>
        <source>%1 (%2 回)</source>
        <translation>%1 (%2 runs)</translation>
    </message>
    <message>
        <source>%1: 表示中の期間に記録はありません。</source>
        <translation>%1: no record in the period shown.</translation>
    </message>
    <message>
        <source>%1: 表示中の期間に %2 回。直近10回の平均 %3、期間の初めから %4%5 ポイント。</source>
        <translation>%1: %2 runs in the period shown. Mean of the last 10: %3, %4%5 points since the period began.</translation>
    </message>
</context>
<context>
    <name>ReactionChart</name>
    <message>
        <source>正解した最初の答えの反応時間（日ごとの中央値、秒）</source>
        <translation>Reaction time of right first answers (median per day, s)</translation>
    </message>
    <message>
        <source>反応時間の推移のグラフ</source>
        <translation>Chart of the reaction time over time</translation>
    </message>
    <message>
        <source>%1
中央値 %2
正解 %3 問</source>
        <translation>%1
median %2
%3 right</translation>
    </message>
    <message>
        <source>選んだ期間には、時間の分かる正解がありません。</source>
        <translation>The chosen period has no right answer with a known time.</translation>
    </message>
    <message>
        <source>正解した最初の答えの反応時間の中央値: %1 日分。最初の日 %2、最後の日 %3。</source>
        <translation>Median reaction time of right first answers: %1 days. First day %2, last day %3.</translation>
    </message>
</context>
<context>
    <name>Reminder</name>
    <message>
        <source>練習する</source>
        <translation>Practise</translation>
    </message>
</context>
<context>
    <name>ReminderSchedule</name>
    <message>
        <source>フォルダー %1 を作れません</source>
        <translation>The folder %1 cannot be made</translation>
    </message>
    <message>
        <source>%1 に書き込めません（%2）</source>
        <translation>%1 cannot be written (%2)</translation>
    </message>
    <message>
        <source>%1 を消せません</source>
        <translation>%1 cannot be removed</translation>
    </message>
    <message>
        <source>systemctl --user disable %1 に失敗しました</source>
        <translation>systemctl --user disable %1 failed</translation>
    </message>
    <message>
        <source>systemctl --user enable %1 に失敗しました</source>
        <translation>systemctl --user enable %1 failed</translation>
    </message>
</context>
<context>
    <name>RunProfiles</name>
    <message>
        <source>%1 音・%2・%3 オクターブ</source>
        <translation>%1 notes · %2 · %3 octaves</translation>
    </message>
    <message>
        <source>、</source>
        <translation>, </translation>
    </message>
</context>
<context>
    <name>ScoreLogReader</name>
    <message>
        <source>読む権限がありません</source>
        <translation>no permission to read it</translation>
    </message>
    <message>
        <source>リンクがたどれません</source>
        <translation>the link cannot be followed</translation>
    </message>
    <message>
        <source>通常のファイルではありません</source>
        <translation>not a regular file</translation>
    </message>
    <message>
        <source>大きすぎます（256 MB を超えています）</source>
        <translation>too large (over 256 MB)</translation>
    </message>
</context>
<context>
    <name>SettingsFile</name>
    <message>
        <source>設定ファイルを読めません（%1）</source>
        <translation>The settings file cannot be read (%1)</translation>
    </message>
    <message>
        <source>設定ファイルが普通のファイルではありません</source>
        <translation>The settings file is not a regular file</translation>
    </message>
    <message>
        <source>設定ファイルが 64 KiB より大きいです</source>
        <translation>The settings file is larger than 64 KiB</translation>
    </message>
    <message>
        <source>設定ファイルがテキストではありません</source>
        <translation>The settings file is not text</translation>
    </message>
    <message>
        <source>%1 = &quot;%2&quot; を読み取れないため、既定の値を使います</source>
        <translation>%1 = &quot;%2&quot; cannot be read, so the default is used</translation>
    </message>
    <message>
        <source>%1 = &quot;%2&quot; の「%3」は音の名前ではないため、既定の値を使います</source>
        <translation>&quot;%3&quot; in %1 = &quot;%2&quot; is not a note&apos;s name, so the default is used</translation>
    </message>
    <message>
        <source>%1 の「%2」は知らない値なので除きました</source>
        <translation>&quot;%2&quot; in %1 is not a known value, so it was left out</translation>
    </message>
    <message>
        <source>%1 = &quot;%2&quot; では %3 で出題できる音が2つ未満なので、そのモードの音すべてを出題します</source>
        <translation>%1 = &quot;%2&quot; leaves fewer than two notes to ask in %3, so all of that mode&apos;s notes are asked</translation>
    </message>
    <message>
        <source>フォルダー %1 を作れません</source>
        <translation>The folder %1 cannot be made</translation>
    </message>
    <message>
        <source>設定ファイルに書き込めません（%1）</source>
        <translation>The settings file cannot be written (%1)</translation>
    </message>
</context>
<context>
    <name>TrendPage</name>
    <message>
        <source>練習した回数</source>
        <translation>Runs practised</translation>
    </message>
    <message>
        <source>問題数</source>
        <translation>Questions</translation>
    </message>
    <message>
        <source>ミス</source>
        <translation>Misses</translation>
    </message>
    <message>
        <source>正解率</source>
        <translation>Correct rate</translation>
    </message>
    <message>
        <source>最高の回（10問以上）</source>
        <translation>Best run (10 questions or more)</translation>
    </message>
    <message>
        <source>直近7日の正解率</source>
        <translation>Correct rate, last 7 days</translation>
    </message>
    <message>
        <source>その前の7日</source>
        <translation>The 7 days before</translation>
    </message>
    <message>
        <source>今日の問題数</source>
        <translation>Questions today</translation>
    </message>
</context>
<context>
    <name>frmAbout</name>
    <message>
        <source>ﾊﾞｰｼﾞｮﾝ情報</source>
        <translation>Version</translation>
    </message>
    <message>
        <source>がんばって絶対音感を身につけましょう！</source>
        <translation>Keep at it, and make absolute pitch your own!</translation>
    </message>
    <message>
        <source>Tonarika の不具合やご要望は、Tonarika の開発チームまでお寄せください。</source>
        <translation>Please send Tonarika&apos;s faults and your wishes to the Tonarika development team.</translation>
    </message>
</context>
<context>
    <name>tonarika::DailyPage</name>
    <message>
        <source>直近 16 週間の練習のカレンダー</source>
        <translation>Calendar of practice in the last 16 weeks</translation>
    </message>
    <message>
        <source>月</source>
        <translation>Mon</translation>
    </message>
    <message>
        <source>火</source>
        <translation>Tue</translation>
    </message>
    <message>
        <source>水</source>
        <translation>Wed</translation>
    </message>
    <message>
        <source>木</source>
        <translation>Thu</translation>
    </message>
    <message>
        <source>金</source>
        <translation>Fri</translation>
    </message>
    <message>
        <source>土</source>
        <translation>Sat</translation>
    </message>
    <message>
        <source>日</source>
        <translation>Sun</translation>
    </message>
    <message>
        <source>覚えた音と練習時間</source>
        <translation>Notes learned and time practised</translation>
    </message>
    <message>
        <source>朝一番: その日の最初の 12 問と 1 日全体の正解率</source>
        <translation>First thing: the correct rate of the day&apos;s first 12 questions and of the whole day</translation>
    </message>
    <message>
        <source>覚えた音の数と練習時間のグラフ。参考として成人の研究の平均を示します</source>
        <translation>Chart of the notes learned and the time practised, with the adult study&apos;s mean for reference</translation>
    </message>
    <message>
        <source>参考の点は成人の研究（Wong ら 2025）の平均です: 8 週間、21.4 時間の練習で12 音のうち 7.08 音。目安であって、約束ではありません。</source>
        <translation>The reference point is the mean of the adult study (Wong et al. 2025): 7.08 of 12 notes after 8 weeks and 21.4 hours of practice. A guide, not a promise.</translation>
    </message>
    <message>
        <source>朝一番の正解率と 1 日全体の正解率のグラフ</source>
        <translation>Chart of the first-thing correct rate and the whole day&apos;s</translation>
    </message>
    <message>
        <source>練習の記録はまだありません。
ゲームで問題に答えると、毎日の練習時間がここに出ます。</source>
        <translation>No practice recorded yet.
Answer questions in the game, and each day&apos;s practice time shows here.</translation>
    </message>
    <message>
        <source>目標（%1 分）を達成した日</source>
        <translation>Days the goal (%1 min) was met</translation>
    </message>
    <message>
        <source>練習した日</source>
        <translation>Days practised</translation>
    </message>
    <message>
        <source>%1の連続: %2 日（最長 %3 日）
練習時間: 合計 %4、この 7 日間 %5</source>
        <translation>%1 in a row: %2 days (longest %3 days)
Time practised: %4 in all, %5 in these 7 days</translation>
    </message>
    <message>
        <source>%1月%2日: %3 分%4</source>
        <translation>%2/%1: %3 min%4</translation>
    </message>
    <message>
        <source>（目標達成）</source>
        <translation> (goal met)</translation>
    </message>
    <message>
        <source>Easy で覚えた音</source>
        <translation>Notes learned in Easy</translation>
    </message>
    <message>
        <source>Hard で覚えた音</source>
        <translation>Notes learned in Hard</translation>
    </message>
    <message>
        <source>参考（約束ではありません）</source>
        <translation>Reference (not a promise)</translation>
    </message>
    <message>
        <source>練習時間（時間）</source>
        <translation>Time practised (h)</translation>
    </message>
    <message>
        <source>覚えた音</source>
        <translation>Notes learned</translation>
    </message>
    <message>
        <source>最初の 12 問</source>
        <translation>First 12 questions</translation>
    </message>
    <message>
        <source>1 日全体</source>
        <translation>Whole day</translation>
    </message>
</context>
<context>
    <name>tonarika::DailySettingsBox</name>
    <message>
        <source>毎日の練習</source>
        <translation>Daily practice</translation>
    </message>
    <message>
        <source>なし</source>
        <translation>None</translation>
    </message>
    <message>
        <source> 分</source>
        <translation> min</translation>
    </message>
    <message>
        <source>1日の目標</source>
        <translation>Daily goal</translation>
    </message>
    <message>
        <source>1日の目標(&amp;G)</source>
        <translation>Daily &amp;goal</translation>
    </message>
    <message>
        <source>1日に練習する分数。ゲームのタイトルに今日の分数が出ます。</source>
        <translation>Minutes to practise a day. The game&apos;s title shows today&apos;s minutes.</translation>
    </message>
    <message>
        <source>お知らせする</source>
        <translation>Remind me</translation>
    </message>
    <message>
        <source>お知らせの時刻</source>
        <translation>Reminder time</translation>
    </message>
    <message>
        <source>練習のお知らせ</source>
        <translation>Practice reminder</translation>
    </message>
    <message>
        <source>この時刻に今日の練習がまだなら、デスクトップの通知で知らせます。</source>
        <translation>If today&apos;s practice is not done by this time, a desktop notification says so.</translation>
    </message>
    <message>
        <source>秒数を決める</source>
        <translation>Set the seconds</translation>
    </message>
    <message>
        <source>覚えるほど短く</source>
        <translation>Shorter as you learn</translation>
    </message>
    <message>
        <source>答える時間の制限</source>
        <translation>Answer time limit</translation>
    </message>
    <message>
        <source> 秒</source>
        <translation> s</translation>
    </message>
    <message>
        <source>答える時間の制限（秒）</source>
        <translation>Answer time limit (s)</translation>
    </message>
    <message>
        <source>答える時間(&amp;W)</source>
        <translation>Answer &amp;within</translation>
    </message>
    <message>
        <source>これより遅い正解は「遅い」と表示され、はずれとして数えます。「覚えるほど短く」は 2.0 秒から、覚えた音ごとに 0.1 秒ずつ 1.3 秒まで短くなります。</source>
        <translation>A right answer later than this shows &quot;Too late&quot; and counts as a miss. &quot;Shorter as you learn&quot; starts at 2.0 s and takes 0.1 s off for each note learned, down to 1.3 s.</translation>
    </message>
    <message>
        <source>設定を保存できませんでした: %1。設定ファイルはそのままです。</source>
        <translation>The settings could not be saved: %1. The settings file is as it was.</translation>
    </message>
    <message>
        <source>保存しました。ゲームのタイトルにすぐ反映されます。</source>
        <translation>Saved. The game&apos;s title shows it at once.</translation>
    </message>
    <message>
        <source>保存しました。</source>
        <translation>Saved.</translation>
    </message>
    <message>
        <source>お知らせを設定できませんでした: %1</source>
        <translation>The reminder could not be set: %1</translation>
    </message>
    <message>
        <source>お知らせはしません。</source>
        <translation>No reminder.</translation>
    </message>
    <message>
        <source>毎日 %1 に systemd のタイマーでお知らせします。</source>
        <translation>A systemd timer reminds you every day at %1.</translation>
    </message>
    <message>
        <source>systemd のユーザーセッションがないため、ログイン時に起動して %1 を待ちます（XDG autostart）。</source>
        <translation>There is no systemd user session, so it starts at login and waits for %1 (XDG autostart).</translation>
    </message>
    <message>
        <source>保存しました。次の問題から使われます。</source>
        <translation>Saved. The game uses it from the next question.</translation>
    </message>
</context>
<context>
    <name>tonarika::Form1</name>
    <message>
        <source>%1 キー</source>
        <translation>key %1</translation>
    </message>
    <message>
        <source>（今は出題されません）</source>
        <translation> (not asked now)</translation>
    </message>
</context>
<context>
    <name>tonarika::HomePage</name>
    <message>
        <source>今日</source>
        <translation>Today</translation>
    </message>
    <message>
        <source>練習する(&amp;P)</source>
        <translation>&amp;Practise</translation>
    </message>
    <message>
        <source>ゲームを始めます</source>
        <translation>Starts the game</translation>
    </message>
    <message>
        <source>テストを受ける(&amp;T)</source>
        <translation>Take the &amp;test</translation>
    </message>
    <message>
        <source>研究で使われる絶対音感のテスト（72 問、約 10 分）を始めます</source>
        <translation>Starts the test of absolute pitch used in the studies (72 items, about 10 minutes)</translation>
    </message>
    <message>
        <source>はじめての方へ</source>
        <translation>Getting started</translation>
    </message>
    <message>
        <source>おすすめの始め方:
・Hard で、出題する音は「少しずつ増やす」。ド ミ ソ から始め、覚えるたびに 1 音ずつ増えます
・音色はピアノ・マリンバ・ギターの 3 つ、音域は 3 オクターブ
・前の音を手がかりにしない、苦手な音を多めに
・毎日 20 分ほど。大人の研究では、8 週間・約 21 時間の練習で平均 7 音ほどを覚えました（目安です）</source>
        <translation>A good way to begin:
• Hard, with the notes asked &quot;growing&quot;: it starts with C, E and G and adds one note each time you learn them all
• Three timbres (piano, marimba, guitar) over three octaves
• Not going by the note before, and weak notes more often
• About 20 minutes a day. In the adult study, about 7 notes were learned on average after 8 weeks and about 21 hours of practice (a guide)</translation>
    </message>
    <message>
        <source>このプランにする(&amp;S)</source>
        <translation>U&amp;se this plan</translation>
    </message>
    <message>
        <source>練習の設定をこのプランにします。ほかの設定はそのままです</source>
        <translation>Sets the practice settings to this plan. Every other setting stays as it is</translation>
    </message>
    <message>
        <source>今日: %1 問、%2 分</source>
        <translation>Today: %1 questions, %2 min</translation>
    </message>
    <message>
        <source>（目標 %1 分%2）</source>
        <translation> (goal %1 min%2)</translation>
    </message>
    <message>
        <source>
%1の連続: %2 日（最長 %3 日）</source>
        <translation>
%1 in a row: %2 days (longest %3 days)</translation>
    </message>
    <message>
        <source>目標を達成した日</source>
        <translation>Days the goal was met</translation>
    </message>
    <message>
        <source>練習した日</source>
        <translation>Days practised</translation>
    </message>
    <message>
        <source>次の一歩（%1）: %2</source>
        <translation>Next step (%1): %2</translation>
    </message>
    <message>
        <source>ゲームを起動できませんでした。</source>
        <translation>The game could not be started.</translation>
    </message>
    <message>
        <source>設定を保存できませんでした: %1</source>
        <translation>The settings could not be saved: %1</translation>
    </message>
    <message>
        <source>設定しました。「練習する」で Hard から始まります。</source>
        <translation>Done. &quot;Practise&quot; starts in Hard.</translation>
    </message>
</context>
<context>
    <name>tonarika::NotesPage</name>
    <message>
        <source>期間</source>
        <translation>Period</translation>
    </message>
    <message>
        <source>今日</source>
        <translation>Today</translation>
    </message>
    <message>
        <source>直近7日</source>
        <translation>Last 7 days</translation>
    </message>
    <message>
        <source>直近30日</source>
        <translation>Last 30 days</translation>
    </message>
    <message>
        <source>すべて</source>
        <translation>All</translation>
    </message>
    <message>
        <source>モード</source>
        <translation>Mode</translation>
    </message>
    <message>
        <source>Easy と Hard</source>
        <translation>Easy and Hard</translation>
    </message>
    <message>
        <source>音色</source>
        <translation>Timbre</translation>
    </message>
    <message>
        <source>覚えた音のうち、直近20問が3つ以上の音色と2つ以上の音域にわたるもの</source>
        <translation>Learned notes whose last 20 questions span three or more timbres and two or more octaves</translation>
    </message>
    <message>
        <source>期間(&amp;P)</source>
        <translation>&amp;Period</translation>
    </message>
    <message>
        <source>モード(&amp;M)</source>
        <translation>&amp;Mode</translation>
    </message>
    <message>
        <source>音色(&amp;T)</source>
        <translation>&amp;Timbre</translation>
    </message>
    <message>
        <source>音ごとの成績</source>
        <translation>Results by note</translation>
    </message>
    <message>
        <source>音</source>
        <translation>Note</translation>
    </message>
    <message>
        <source>問題数</source>
        <translation>Questions</translation>
    </message>
    <message>
        <source>最初の答えの正解率</source>
        <translation>First answers right</translation>
    </message>
    <message>
        <source>反応時間（中央値）</source>
        <translation>Reaction time (median)</translation>
    </message>
    <message>
        <source>覚えた</source>
        <translation>Learned</translation>
    </message>
    <message>
        <source>音色の数</source>
        <translation>Timbres</translation>
    </message>
    <message>
        <source>音域の数</source>
        <translation>Octaves</translation>
    </message>
    <message>
        <source>直近20問: 17/20、中央値</source>
        <translation>last 20: 17/20, median</translation>
    </message>
    <message>
        <source>どの音と取り違えたか（行: 出題、列: 答え）</source>
        <translation>Which notes were taken for which (rows: asked, columns: answered)</translation>
    </message>
    <message>
        <source>行が出題の音、列が答えた音。対角線は正解、それ以外ははずれ。</source>
        <translation>Rows are the notes asked, columns the notes answered. The diagonal is right, the rest wrong.</translation>
    </message>
    <message>
        <source>答え →</source>
        <translation>Answered →</translation>
    </message>
    <message>
        <source>出
題
↓</source>
        <translation>A
s
k
e
d
↓</translation>
    </message>
    <message>
        <source>問題の記録を読めませんでした。
%1

%2</source>
        <translation>The journal of questions could not be read.
%1

%2</translation>
    </message>
    <message>
        <source>まだ問題の記録がありません。

Tonarika は問題に答えるたびに、その記録を次のファイルに残します。
%1

練習するにつれて、ここに音ごとの成績が表示されます。</source>
        <translation>No question is recorded yet.

Each time you answer a question, Tonarika records it in this file:
%1

As you practise, the results by note show here.</translation>
    </message>
    <message>
        <source>（Easy か Hard のどちらかで）</source>
        <translation> (in Easy or Hard)</translation>
    </message>
    <message>
        <source>覚えた音: %1/%2%3</source>
        <translation>Notes learned: %1/%2%3</translation>
    </message>
    <message>
        <source>音色・音域を問わず: %1/%2</source>
        <translation>Whatever the timbre and octave: %1/%2</translation>
    </message>
    <message>
        <source>少しずつ増やす（%1）: %2</source>
        <translation>Growing set (%1): %2</translation>
    </message>
    <message>
        <source>。次は %1: %2</source>
        <translation>. Next %1: %2</translation>
    </message>
    <message>
        <source>、</source>
        <translation>, </translation>
    </message>
    <message>
        <source>。すべての音を出題しています</source>
        <translation>. Every note is asked</translation>
    </message>
    <message>
        <source>白鍵: 正解率 %1、反応時間 %2
黒鍵: 正解率 %3、反応時間 %4
はずれのうち半音違い: %5
はずれの平均のずれ: %6</source>
        <translation>White keys: correct rate %1, reaction time %2
Black keys: correct rate %3, reaction time %4
Misses a semitone off: %5
Mean distance of the misses: %6</translation>
    </message>
    <message>
        <source> 半音</source>
        <translation> semitones</translation>
    </message>
    <message>
        <source>声</source>
        <translation>Voice</translation>
    </message>
</context>
<context>
    <name>tonarika::PitchTestPage</name>
    <message>
        <source>テストの記録</source>
        <translation>Test records</translation>
    </message>
    <message>
        <source>1 行に 1 回のテスト。純音とピアノはそれぞれ 36 点満点、半音違いは全回答のうち半音ずれた答えの割合、よく間違えた音はそのテストで間違えた回数の多い音。</source>
        <translation>One test a row. Pure tones and piano are each out of 36; semitone off is the share of all answers a semitone off; notes missed most are those that test missed most often.</translation>
    </message>
    <message>
        <source>日時</source>
        <translation>Date</translation>
    </message>
    <message>
        <source>純音</source>
        <translation>Pure tone</translation>
    </message>
    <message>
        <source>ピアノ</source>
        <translation>Piano</translation>
    </message>
    <message>
        <source>半音違い</source>
        <translation>Semitone off</translation>
    </message>
    <message>
        <source>反応時間（中央値）</source>
        <translation>Reaction time (median)</translation>
    </message>
    <message>
        <source>間違えた音</source>
        <translation>Notes missed</translation>
    </message>
    <message>
        <source>テストの得点（36 点満点）</source>
        <translation>Test scores (out of 36)</translation>
    </message>
    <message>
        <source>テストの得点の推移のグラフ</source>
        <translation>Chart of the test scores over time</translation>
    </message>
    <message>
        <source>テストの記録はまだありません。
ゲームを「絶対音感テスト」（tonarika --test）で始めると、72 問のテストを受けられます。</source>
        <translation>No test recorded yet.
Start the game as &quot;absolute pitch test&quot; (tonarika --test) to take the 72-item test.</translation>
    </message>
    <message>
        <source> 秒</source>
        <translation> s</translation>
    </message>
    <message>
        <source>中断（%1 / %2 問）</source>
        <translation>Stopped (%1 / %2 items)</translation>
    </message>
    <message>
        <source>なし</source>
        <translation>None</translation>
    </message>
    <message>
        <source>目安 %1</source>
        <translation>Reference %1</translation>
    </message>
    <message>
        <source>最後まで答えたテスト %1 回分の得点。最後は純音 %2 / 36、ピアノ %3 / 36。目安は純音 %4 / 36。</source>
        <translation>Scores of %1 tests answered to the end. The last: pure tones %2 / 36, piano %3 / 36. The reference is %4 / 36 on pure tones.</translation>
    </message>
    <message>
        <source>最後まで答えたテストはまだありません。目安は純音 %1 / 36。</source>
        <translation>No test has been answered to the end yet. The reference is %1 / 36 on pure tones.</translation>
    </message>
</context>
<context>
    <name>tonarika::PitchTestView</name>
    <message>
        <source>テストを始める</source>
        <translation>Start the test</translation>
    </message>
    <message>
        <source>練習に戻る</source>
        <translation>Back to practice</translation>
    </message>
    <message>
        <source>テストを閉じて練習に戻る</source>
        <translation>Close the test and go back to practice</translation>
    </message>
</context>
<context>
    <name>tonarika::ProgressWindow</name>
    <message>
        <source>Tonarika 練習帳</source>
        <translation>Tonarika practice book</translation>
    </message>
    <message>
        <source>今日</source>
        <translation>Today</translation>
    </message>
    <message>
        <source>正解率の推移</source>
        <translation>Correct rate</translation>
    </message>
    <message>
        <source>音ごと</source>
        <translation>By note</translation>
    </message>
    <message>
        <source>テスト</source>
        <translation>Test</translation>
    </message>
    <message>
        <source>毎日</source>
        <translation>Every day</translation>
    </message>
    <message>
        <source>読み込み中…</source>
        <translation>Reading…</translation>
    </message>
    <message>
        <source>ファイル(&amp;F)</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>CSV に書き出す…</source>
        <translation>Export as CSV…</translation>
    </message>
    <message>
        <source>拡大(&amp;I)</source>
        <translation>Zoom &amp;in</translation>
    </message>
    <message>
        <source>縮小(&amp;O)</source>
        <translation>Zoom &amp;out</translation>
    </message>
    <message>
        <source>全体を表示(&amp;A)</source>
        <translation>Show &amp;all</translation>
    </message>
    <message>
        <source>閉じる(&amp;C)</source>
        <translation>&amp;Close</translation>
    </message>
    <message>
        <source>終了(&amp;Q)</source>
        <translation>&amp;Quit</translation>
    </message>
    <message>
        <source>練習の設定</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>CSV に書き出す</source>
        <translation>Export as CSV</translation>
    </message>
    <message>
        <source>%1 問を %2 に書き出しました。</source>
        <translation>%1 questions written to %2.</translation>
    </message>
    <message>
        <source>%1 に書き出せませんでした。</source>
        <translation>%1 could not be written.</translation>
    </message>
    <message>
        <source>読めない行: %1</source>
        <translation>Unreadable lines: %1</translation>
    </message>
    <message>
        <source>%1（%2）</source>
        <translation>%1 (%2)</translation>
    </message>
    <message>
        <source>読めないログ: </source>
        <translation>Unreadable logs: </translation>
    </message>
    <message>
        <source>、</source>
        <translation>, </translation>
    </message>
</context>
<context>
    <name>tonarika::SettingsPage</name>
    <message>
        <source>音色</source>
        <translation>Timbre</translation>
    </message>
    <message>
        <source>問題の音をどの楽器で鳴らすか。いくつも選ぶと、音色が変わっても音の名前で聞き分けられるようになります。</source>
        <translation>Which instruments the questions sound in. With several, you learn to tell a note by its name whatever the timbre.</translation>
    </message>
    <message>
        <source>音域</source>
        <translation>Octaves</translation>
    </message>
    <message>
        <source>1 オクターブ（ド4〜シ4）</source>
        <translation>1 octave (C4 to B4)</translation>
    </message>
    <message>
        <source>3 オクターブ（ド3〜シ5）</source>
        <translation>3 octaves (C3 to B5)</translation>
    </message>
    <message>
        <source>3 オクターブにすると、高さが変わっても同じ名前の音を当てる練習になります。</source>
        <translation>With three octaves, you practise naming a note whatever its height.</translation>
    </message>
    <message>
        <source>前の音を手がかりにしない</source>
        <translation>Not by the note before</translation>
    </message>
    <message>
        <source>苦手な音を多めに</source>
        <translation>Weak notes more often</translation>
    </message>
    <message>
        <source>はずれのとき正解を示す</source>
        <translation>Show the right note after a miss</translation>
    </message>
    <message>
        <source>出題する音</source>
        <translation>Notes asked</translation>
    </message>
    <message>
        <source>モードの音すべて</source>
        <translation>All of the mode&apos;s notes</translation>
    </message>
    <message>
        <source>少しずつ増やす</source>
        <translation>Growing set</translation>
    </message>
    <message>
        <source>選んだ音だけ</source>
        <translation>Only the notes chosen</translation>
    </message>
    <message>
        <source>モードの音すべて: Easy は白鍵の 7 音、Hard は 12 音。少しずつ増やす: ド ミ ソ から始め、出題中の音をすべて覚えると 1 音ずつ増えます（新しい音は、出題の前に名前と一緒に一度鳴ります）。選んだ音だけ: チェックした 2 音以上を出題します。</source>
        <translation>All of the mode&apos;s notes: the 7 white keys in Easy, all 12 in Hard. Growing set: starts with C, E and G, and adds one note each time you have learned every note asked (a new note sounds once with its name before it is asked). Only the notes chosen: asks the two or more notes ticked.</translation>
    </message>
    <message>
        <source>基準の音 A4(&amp;A)</source>
        <translation>Reference &amp;A4</translation>
    </message>
    <message>
        <source>基準の音 A4</source>
        <translation>Reference A4</translation>
    </message>
    <message>
        <source>ラ（A4）の高さ。ふだん弾く楽器や合奏に合わせます。ふつうは 440 Hz です。</source>
        <translation>The pitch of A4. Match the instrument or ensemble you play with. Usually 440 Hz.</translation>
    </message>
    <message>
        <source>MIDIキーボード</source>
        <translation>MIDI keyboard</translation>
    </message>
    <message>
        <source>MIDIキーボードで答える</source>
        <translation>Answer on a MIDI keyboard</translation>
    </message>
    <message>
        <source>見えているMIDIキーボード</source>
        <translation>MIDI keyboards seen</translation>
    </message>
    <message>
        <source>つないだ MIDI キーボードの鍵盤で答えます（どのオクターブでも）。ペダルは Listen と同じです。</source>
        <translation>Answer on the keys of a connected MIDI keyboard (in any octave). A pedal works as Listen.</translation>
    </message>
    <message>
        <source>問題の前に短い音の列を鳴らし、続けて出る音を前の問題の音から離します。前の音からの距離（相対音感）では当てられなくなります。</source>
        <translation>Plays a short run of tones before each question and keeps the next note away from the last one, so that its distance from the note before (relative pitch) cannot name it.</translation>
    </message>
    <message>
        <source>よく間違える音や答えるのが遅い音を多めに出題し、間違えた音は少し後にもう一度出します。</source>
        <translation>Asks the notes you often miss or answer slowly more often, and asks a missed note again a little later.</translation>
    </message>
    <message>
        <source>最初に間違えたとき、正しい音の名前を表示し、その鍵盤を囲んで、もう一度鳴らします。その問題はそこで終わります。</source>
        <translation>After a first miss, shows the right note&apos;s name, outlines its key and plays it again. That question ends there.</translation>
    </message>
    <message>
        <source>表示</source>
        <translation>Display</translation>
    </message>
    <message>
        <source>ドレミ（固定ド）</source>
        <translation>Do Re Mi (fixed do)</translation>
    </message>
    <message>
        <source>C D E（英語）</source>
        <translation>C D E (English)</translation>
    </message>
    <message>
        <source>Do Ré Mi（ソルフェージュ）</source>
        <translation>Do Ré Mi (solfège)</translation>
    </message>
    <message>
        <source>C D E … H（ドイツ語）</source>
        <translation>C D E … H (German)</translation>
    </message>
    <message>
        <source>ハニホ（日本語）</source>
        <translation>Ha Ni Ho (Japanese)</translation>
    </message>
    <message>
        <source>音の名前</source>
        <translation>Note names</translation>
    </message>
    <message>
        <source>♯（シャープ）</source>
        <translation>♯ (sharps)</translation>
    </message>
    <message>
        <source>♭（フラット）</source>
        <translation>♭ (flats)</translation>
    </message>
    <message>
        <source>両方</source>
        <translation>Both</translation>
    </message>
    <message>
        <source>黒鍵の名前</source>
        <translation>Black keys&apos; names</translation>
    </message>
    <message>
        <source>%1 倍</source>
        <translation>%1 ×</translation>
    </message>
    <message>
        <source>ゲームの画面の大きさ</source>
        <translation>Size of the game&apos;s window</translation>
    </message>
    <message>
        <source>日本語</source>
        <translation>Japanese</translation>
    </message>
    <message>
        <source>言語</source>
        <translation>Language</translation>
    </message>
    <message>
        <source>音の名前(&amp;N)</source>
        <translation>Note &amp;names</translation>
    </message>
    <message>
        <source>鍵盤の横、結果、このページの表や記録で音をどう呼ぶか。</source>
        <translation>What the notes are called beside the keys, in the results, and in this book&apos;s tables and records.</translation>
    </message>
    <message>
        <source>黒鍵(&amp;K)</source>
        <translation>Blac&amp;k keys</translation>
    </message>
    <message>
        <source>黒鍵を下の音の ♯ で呼ぶか、上の音の ♭ で呼ぶか、両方か。</source>
        <translation>Whether a black key is named as the note below with ♯, the note above with ♭, or both.</translation>
    </message>
    <message>
        <source>大きさ(&amp;Z)</source>
        <translation>Si&amp;ze</translation>
    </message>
    <message>
        <source>ゲームの画面と「バージョン情報」を大きく描きます。次にゲームを起動したときから。</source>
        <translation>Draws the game&apos;s window and its &quot;Version&quot; box larger, from the game&apos;s next start.</translation>
    </message>
    <message>
        <source>言語(&amp;L)</source>
        <translation>&amp;Language</translation>
    </message>
    <message>
        <source>ゲームとこの練習帳の言葉。スコアファイルと記録は変わりません。</source>
        <translation>The language of the game and of this practice book. The score file and the records do not change.</translation>
    </message>
    <message>
        <source>例: </source>
        <translation>For example: </translation>
    </message>
    <message>
        <source>保存しました。</source>
        <translation>Saved.</translation>
    </message>
    <message>
        <source>MIDIを使えません（ALSAシーケンサーもJACKサーバーもありません）</source>
        <translation>MIDI cannot be used (there is neither an ALSA sequencer nor a JACK server)</translation>
    </message>
    <message>
        <source>見えているキーボード: なし</source>
        <translation>Keyboards seen: none</translation>
    </message>
    <message>
        <source>見えているキーボード: %1</source>
        <translation>Keyboards seen: %1</translation>
    </message>
    <message>
        <source>、</source>
        <translation>, </translation>
    </message>
    <message>
        <source>設定を保存できませんでした: %1。設定ファイルはそのままです。</source>
        <translation>The settings could not be saved: %1. The settings file is as it was.</translation>
    </message>
    <message>
        <source>ゲームに反映されました。</source>
        <translation>The game has taken it up.</translation>
    </message>
    <message>
        <source>設定ファイルの一部を読めなかったため、そこは既定の値を表示しています。
%1</source>
        <translation>Part of the settings file could not be read, so the defaults are shown for it.
%1</translation>
    </message>
    <message>
        <source>設定ファイルを読めないため、既定の値を表示しています。ファイルはそのままにし、書き換えません。
%1</source>
        <translation>The settings file cannot be read, so the defaults are shown. The file is left as it is and not written.
%1</translation>
    </message>
    <message>
        <source>音は少なくとも2つ選んでください。</source>
        <translation>Choose at least two notes.</translation>
    </message>
    <message>
        <source>音色は少なくとも1つ選んでください。</source>
        <translation>Choose at least one timbre.</translation>
    </message>
    <message>
        <source>保存しました。次の問題から使われます。</source>
        <translation>Saved. The game uses it from the next question.</translation>
    </message>
</context>
<context>
    <name>tonarika::SungView</name>
    <message>
        <source>歌った音の成績</source>
        <translation>Notes sung</translation>
    </message>
    <message>
        <source>音</source>
        <translation>Note</translation>
    </message>
    <message>
        <source>歌った回数</source>
        <translation>Sung</translation>
    </message>
    <message>
        <source>±50 セント以内</source>
        <translation>Within ±50 cents</translation>
    </message>
    <message>
        <source>平均のずれ（正確さ）</source>
        <translation>Mean error (accuracy)</translation>
    </message>
    <message>
        <source>ばらつき（精度）</source>
        <translation>Spread (precision)</translation>
    </message>
    <message>
        <source>音ごとのずれの推移（セント）</source>
        <translation>Each note&apos;s error over time (cents)</translation>
    </message>
    <message>
        <source>歌った音のずれの推移のグラフ</source>
        <translation>Chart of the sung notes&apos; errors over time</translation>
    </message>
    <message>
        <source>%1 セント</source>
        <translation>%1 cents</translation>
    </message>
    <message>
        <source>選んだ期間には、歌った答えがありません。</source>
        <translation>The chosen period has no sung answer.</translation>
    </message>
    <message>
        <source>歌った答え %1 回、そのうち ±50 セント以内 %2 回。</source>
        <translation>%1 sung answers, %2 of them within ±50 cents.</translation>
    </message>
</context>
<context>
    <name>tonarika::TrendPage</name>
    <message>
        <source>正解率 (%)</source>
        <translation>Correct rate (%)</translation>
    </message>
    <message>
        <source>（10回平均）</source>
        <translation> (mean of 10)</translation>
    </message>
    <message>
        <source>正解率の推移のグラフ</source>
        <translation>Chart of the correct rate over time</translation>
    </message>
    <message>
        <source>モードごとの成績</source>
        <translation>Results by mode</translation>
    </message>
    <message>
        <source>10 問以上の回のうち、最後の回と同じ音の数・音色・音域で出題した回の最高</source>
        <translation>The best of the runs of 10 questions or more asked with the last run&apos;s number of notes, timbres and octaves</translation>
    </message>
    <message>
        <source>音の数・音色・音域を問わず、すべての回の正解率</source>
        <translation>The correct rate of all runs, whatever their notes, timbres and octaves</translation>
    </message>
    <message>
        <source>まだ記録がありません。

Tonarika は1回の練習が終わるたびに、スコアを次のファイルに書き込みます。
%1

最初の練習を終えると、ここに正解率の推移が表示されます。</source>
        <translation>No record yet.

Each time a run ends, Tonarika writes its score to this file:
%1

Once your first run is done, the correct rate over time shows here.</translation>
    </message>
    <message>
        <source>%1（%2、%3）</source>
        <translation>%1 (%2, %3)</translation>
    </message>
    <message>
        <source>%1（%2）</source>
        <translation>%1 (%2)</translation>
    </message>
    <message>
        <source>%1&#x3000;%2</source>
        <translation>%1  %2</translation>
    </message>
    <message>
        <source>%1 〜 %2&#x3000;%3（%4 回）</source>
        <translation>%1 to %2  %3 (%4 runs)</translation>
    </message>
    <message>
        <source>%1%5
ミス %2/%3 回&#x3000;正解率 %4</source>
        <translation>%1%5
misses %2/%3  correct rate %4</translation>
    </message>
</context>
</TS>
