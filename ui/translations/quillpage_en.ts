<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ja">
<context>
    <name>Frm_Guide</name>
    <message>
        <source>「Quillpage」 for Word</source>
        <translation>Quillpage for Word</translation>
    </message>
    <message>
        <source> HTMLファイルを作成しています。 </source>
        <translation> Making the HTML file... </translation>
    </message>
</context>
<context>
    <name>Frm_RefWd</name>
    <message>
        <source>Version：%1.%2.%3</source>
        <translation>Version: %1.%2.%3</translation>
    </message>
    <message>
        <source>最新情報</source>
        <translation>Help</translation>
    </message>
    <message>
        <source>閉じる</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>「Quillpage」 for Word</source>
        <translation>Quillpage for Word</translation>
    </message>
    <message>
        <source> 使い方 </source>
        <translation> Usage </translation>
    </message>
    <message>
        <source>このソフトのデスクトップアイコンにエクス
プロ－ラなどからワード文書をドロップして
ください。</source>
        <translation>Drop a Word document on this
program&apos;s desktop icon, from a
file manager for example.</translation>
    </message>
    <message>
        <source>次の処理を実行します。
&#x3000;①ＨＴＭＬファイルをデスクトップに作成
&#x3000;②ＨＴＭＬファイルをブラウザに表示
</source>
        <translation>The program then
  1. writes the page on the desktop
  2. opens the page in the browser
</translation>
    </message>
    <message>
        <source>このフォームを閉じてから実行してください</source>
        <translation>Close this window before converting</translation>
    </message>
    <message>
        <source> オプション </source>
        <translation> Options </translation>
    </message>
    <message>
        <source>【ページ表示関連】</source>
        <translation>[Page display]</translation>
    </message>
    <message>
        <source>画面中央に表示</source>
        <translation>Centre on screen</translation>
    </message>
    <message>
        <source>ページの表示位置を画面中央に設定します</source>
        <translation>Places the page in the middle of the browser window</translation>
    </message>
    <message>
        <source>表示幅を指定</source>
        <translation>Fixed width</translation>
    </message>
    <message>
        <source>表示幅をWord文書の設定値にあわせます</source>
        <translation>Gives the page the text width of the Word document</translation>
    </message>
    <message>
        <source>【行間調整】</source>
        <translation>[Line spacing]</translation>
    </message>
    <message>
        <source>レイアウトグリッドを指定</source>
        <translation>Keep the layout grid</translation>
    </message>
    <message>
        <source>行間隔をWord文書にあわせます</source>
        <translation>Keeps the line pitch of the Word document</translation>
    </message>
    <message>
        <source>【表示】</source>
        <translation>[Display]</translation>
    </message>
    <message>
        <source>作成後ブラウザに表示</source>
        <translation>Show in browser afterwards</translation>
    </message>
    <message>
        <source>作成したHTMLファイルをブラウザに表示します</source>
        <translation>Opens the finished HTML file in the browser</translation>
    </message>
    <message>
        <source>【文字セット】</source>
        <translation>[Character set]</translation>
    </message>
    <message>
        <source>【その他】</source>
        <translation>[Other]</translation>
    </message>
    <message>
        <source>外部スタイルシートを使用</source>
        <translation>Use an external style sheet</translation>
    </message>
</context>
<context>
    <name>PageNotice</name>
    <message>
        <source>ページ（htmlファイル）を作成しました</source>
        <translation>The page (HTML file) has been written</translation>
    </message>
    <message>
        <source>「Quillpage」 for Word</source>
        <translation>Quillpage for Word</translation>
    </message>
</context>
</TS>
