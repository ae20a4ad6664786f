<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name>AdjustImage</name>
    <message>
        <source>右90度処理</source>
        <translation>Rotating 90° right</translation>
    </message>
    <message>
        <source>左90度処理</source>
        <translation>Rotating 90° left</translation>
    </message>
    <message>
        <source>180度回転処理</source>
        <translation>Rotating 180°</translation>
    </message>
    <message>
        <source>左右反転</source>
        <translation>Flipping horizontally</translation>
    </message>
    <message>
        <source>上下反転</source>
        <translation>Flipping vertically</translation>
    </message>
    <message>
        <source>ネガポジ反転</source>
        <translation>Inverting colours</translation>
    </message>
    <message>
        <source>Loading</source>
        <translation>Loading</translation>
    </message>
    <message>
        <source>Cutting</source>
        <translation>Cutting</translation>
    </message>
    <message>
        <source>Please Wait</source>
        <translation>Please wait</translation>
    </message>
</context>
<context>
    <name>CNF_WIN</name>
    <message>
        <source>画像調整%1</source>
        <translation>Adjust Image - %1</translation>
    </message>
    <message>
        <source>Image</source>
        <translation>Image</translation>
    </message>
    <message>
        <source>Color</source>
        <translation>Colour</translation>
    </message>
    <message>
        <source>Trim</source>
        <translation>Trim</translation>
    </message>
    <message>
        <source>上書き保存</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>別名保存</source>
        <translation>Save As</translation>
    </message>
    <message>
        <source>戻る</source>
        <translation>Back</translation>
    </message>
    <message>
        <source>保存時にファイル&#x3000;日付は変えない</source>
        <translation>Keep the file date when saving</translation>
    </message>
    <message>
        <source>明るさ</source>
        <translation>Brightness</translation>
    </message>
    <message>
        <source>赤</source>
        <translation>Red</translation>
    </message>
    <message>
        <source>緑</source>
        <translation>Green</translation>
    </message>
    <message>
        <source>青</source>
        <translation>Blue</translation>
    </message>
    <message>
        <source>Reset</source>
        <translation>Reset</translation>
    </message>
    <message>
        <source>表示更新</source>
        <translation>Update View</translation>
    </message>
    <message>
        <source>自動的に表示を更新する</source>
        <translation>Update the view automatically</translation>
    </message>
    <message>
        <source>右90度</source>
        <translation>90° Right</translation>
    </message>
    <message>
        <source>左90度</source>
        <translation>90° Left</translation>
    </message>
    <message>
        <source>180度</source>
        <translation>180°</translation>
    </message>
    <message>
        <source>左右反転</source>
        <translation>Flip Horizontal</translation>
    </message>
    <message>
        <source>上下反転</source>
        <translation>Flip Vertical</translation>
    </message>
    <message>
        <source>ネガポジ反転</source>
        <translation>Negative</translation>
    </message>
    <message>
        <source>幅</source>
        <translation>Width</translation>
    </message>
    <message>
        <source>高さ</source>
        <translation>Height</translation>
    </message>
    <message>
        <source>トリミング実行</source>
        <translation>Trim</translation>
    </message>
    <message>
        <source>トリミング中止</source>
        <translation>Cancel Trim</translation>
    </message>
    <message>
        <source>データ再読み込み</source>
        <translation>Reload Data</translation>
    </message>
    <message>
        <source>小さくトリミングした場合、正しく表示されない時があります、その場合小さくリサイズしてください。</source>
        <translation>A small trimmed picture may sometimes not be shown correctly; in that case, resize it to a smaller size.</translation>
    </message>
    <message>
        <source>256色のJPEGと2色のTIFではご利用になれません。</source>
        <translation>This cannot be used with 256-colour JPEG or two-colour TIFF files.</translation>
    </message>
    <message>
        <source>All Files(*.*)</source>
        <translation>All Files (*.*)</translation>
    </message>
    <message>
        <source>%1 Files(*.%2 *.%3)</source>
        <translation>%1 Files (*.%2 *.%3)</translation>
    </message>
    <message>
        <source>%1
ファイルが既に存在しています上書きしますか?</source>
        <translation>%1
The file already exists. Do you want to replace it?</translation>
    </message>
    <message>
        <source>%1
この形式では保存できません。名前の終わりを .BMP、.JPG、.TIF のいずれかにしてください。</source>
        <translation>%1
Cannot save in this format. Please end the name with .BMP, .JPG or .TIF.</translation>
    </message>
    <message>
        <source>保存中</source>
        <translation>Saving</translation>
    </message>
    <message>
        <source>%1
を無圧縮TIFFで
保存します、よろしいですか?</source>
        <translation>%1
will be saved as uncompressed TIFF.
Do you want to continue?</translation>
    </message>
    <message>
        <source>%1
をPackedBit圧縮TIFFで
保存します、よろしいですか?</source>
        <translation>%1
will be saved as PackBits-compressed TIFF.
Do you want to continue?</translation>
    </message>
    <message>
        <source>%1
に保存できませんでした。元のファイルは変更されていません。</source>
        <translation>%1
Could not save to this file. The original file has not been changed.</translation>
    </message>
</context>
<context>
    <name>CataloguePicture</name>
    <message>
        <source>16色へ変換処理中</source>
        <translation>Converting to 16 colours</translation>
    </message>
</context>
<context>
    <name>DeviceSearch</name>
    <message>
        <source>スキャナーを探しています…</source>
        <translation>Looking for scanners…</translation>
    </message>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Orvana</source>
        <translation>Orvana</translation>
    </message>
    <message>
        <source>検索を中止しています…</source>
        <translation>Stopping the search…</translation>
    </message>
</context>
<context>
    <name>DisplayRefresh</name>
    <message>
        <source>表示ファイル名検索</source>
        <translation>Searching for files to display</translation>
    </message>
    <message>
        <source>カタログ表示準備 (%1/%2)</source>
        <translation>Preparing catalogue (%1/%2)</translation>
    </message>
</context>
<context>
    <name>DropActions</name>
    <message>
        <source>移動元と移動先が一緒です、移動を中止します。</source>
        <translation>The source and the destination are the same; the move is cancelled.</translation>
    </message>
    <message>
        <source>コピー元とコピー先が一緒です、コピーを中止します。</source>
        <translation>The source and the destination are the same; the copy is cancelled.</translation>
    </message>
    <message>
        <source>%1
移動先にファイルが既に存在しています上書きしますか?</source>
        <translation>%1
A file already exists at the destination. Do you want to replace it?</translation>
    </message>
    <message>
        <source>%1
ファイルが既に存在しています上書きしますか?</source>
        <translation>%1
The file already exists. Do you want to replace it?</translation>
    </message>
    <message>
        <source>%1
へコピーできませんでした。
理由 : %2</source>
        <translation>%1
Could not copy to this location.
Reason: %2</translation>
    </message>
    <message>
        <source>%1
へ移動できませんでした。
理由 : %2</source>
        <translation>%1
Could not move to this location.
Reason: %2</translation>
    </message>
    <message>
        <source>調整するデーターが指定されていません</source>
        <translation>No data to adjust has been specified.</translation>
    </message>
    <message>
        <source>%1
移動先には大文字と小文字だけが違う名前のファイルがあります:
%2
別のファイルとして移動しますか?</source>
        <translation>%1
The destination has a file whose name differs only in letter case:
%2
Move it as a separate file?</translation>
    </message>
    <message>
        <source>%1
コピー先には大文字と小文字だけが違う名前のファイルがあります:
%2
別のファイルとしてコピーしますか?</source>
        <translation>%1
The destination has a file whose name differs only in letter case:
%2
Copy it as a separate file?</translation>
    </message>
</context>
<context>
    <name>GPATH2</name>
    <message>
        <source>%1 (取り込みPath指定)</source>
        <translation>%1 (Acquisition Folder)</translation>
    </message>
</context>
<context>
    <name>GPATH_WIN</name>
    <message>
        <source>%1 (表示Path指定)</source>
        <translation>%1 (Display Folder)</translation>
    </message>
</context>
<context>
    <name>GR_WIN</name>
    <message>
        <source>起動しています…</source>
        <translation>Starting…</translation>
    </message>
</context>
<context>
    <name>HelpWindow</name>
    <message>
        <source>Orvana ヘルプ</source>
        <translation>Orvana Help</translation>
    </message>
    <message>
        <source>ORVAHELP.html</source>
        <extracomment>The help file of the program folder in this language.</extracomment>
        <translation>ORVAHELP_en.html</translation>
    </message>
</context>
<context>
    <name>MD_WIN</name>
    <message>
        <source>フォルダー作成</source>
        <translation>Create Folder</translation>
    </message>
    <message>
        <source>作成するフォルダー名</source>
        <translation>Name of the new folder</translation>
    </message>
    <message>
        <source>フォルダー(ディレクトリー)名が指定されていません。</source>
        <translation>No folder (directory) name has been given.</translation>
    </message>
    <message>
        <source>フォルダーを作成する場所がファイルトレイで選ばれていません。</source>
        <translation>No location for the new folder has been chosen in the file tray.</translation>
    </message>
    <message>
        <source>フォルダー(ディレクトリー)名に &quot;/&quot; は使えません。</source>
        <translation>A folder (directory) name cannot contain &quot;/&quot;.</translation>
    </message>
    <message>
        <source>%1
は既に存在するフォルダー(ディレクトリー)名です。</source>
        <translation>%1
A folder (directory) of this name already exists.</translation>
    </message>
    <message>
        <source>%1
を作成できませんでした。
理由 : %2</source>
        <translation>%1
Could not create this folder.
Reason: %2</translation>
    </message>
</context>
<context>
    <name>MPRT_WIN</name>
    <message>
        <source>カタログ印刷%1</source>
        <translation>Print Catalogue - %1</translation>
    </message>
    <message>
        <source>印刷する絵がフォルター内にありません、カタログ印刷を中止します。</source>
        <translation>There are no pictures to print in the folder; catalogue printing is cancelled.</translation>
    </message>
    <message>
        <source>%1 ファイル</source>
        <translation>%1 files</translation>
    </message>
    <message>
        <source>左→右</source>
        <translation>Left → Right</translation>
    </message>
    <message>
        <source>右→左</source>
        <translation>Right → Left</translation>
    </message>
    <message>
        <source>ファイル名の印刷</source>
        <translation>Print file names</translation>
    </message>
    <message>
        <source>PATHの印刷</source>
        <translation>Print path</translation>
    </message>
    <message>
        <source>ページ番号の印刷</source>
        <translation>Print page numbers</translation>
    </message>
    <message>
        <source>全ページ</source>
        <translation>All pages</translation>
    </message>
    <message>
        <source>指定ページ</source>
        <translation>Page</translation>
    </message>
    <message>
        <source>プリンターの設定</source>
        <translation>Printer Setup</translation>
    </message>
    <message>
        <source>印刷実行</source>
        <translation>Print</translation>
    </message>
    <message>
        <source>閉じる</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>Status</source>
        <translation>Status</translation>
    </message>
    <message>
        <source>並び順</source>
        <translation>Order</translation>
    </message>
    <message>
        <source>印刷ページ</source>
        <translation>Pages to print</translation>
    </message>
    <message>
        <source>横</source>
        <translation>Across</translation>
    </message>
    <message>
        <source>縦</source>
        <translation>Down</translation>
    </message>
    <message>
        <source>1ページ</source>
        <translation>Per page</translation>
    </message>
    <message>
        <source>全ページ数</source>
        <translation>Total pages</translation>
    </message>
    <message>
        <source>BMPは黒、JPEGは緑、TIFFは青で印刷されます。</source>
        <translation>BMP files are printed in black, JPEG in green and TIFF in blue.</translation>
    </message>
    <message>
        <source>プリンターへ出力中 %1/%2</source>
        <translation>Sending to printer %1/%2</translation>
    </message>
    <message>
        <source>%1 ページはありません。このカタログは %2 ページです。</source>
        <translation>There is no page %1. This catalogue has %2 pages.</translation>
    </message>
    <message>
        <source>次のイメ－ジは印刷できませんでした。</source>
        <translation>The following images could not be printed:</translation>
    </message>
</context>
<context>
    <name>Manager</name>
    <message>
        <source>前回選んだスキャナー「%1」が見つかりません。電源とケーブル（ネットワークのスキャナーでは、ネットワークとアドレス）を確認してください。今回は「%2」を使います。</source>
        <translation>The scanner “%1” chosen before was not found. Check its power and cable (for a network scanner, the network and its address). “%2” is used this time.</translation>
    </message>
</context>
<context>
    <name>ORVA_WIN</name>
    <message>
        <source>ツールバーを表示する</source>
        <translation>Show Toolbar</translation>
    </message>
    <message>
        <source>ツールバーを表示しない</source>
        <translation>Hide Toolbar</translation>
    </message>
    <message>
        <source>コマンドトレイを表示する</source>
        <translation>Show Command Tray</translation>
    </message>
    <message>
        <source>コマンドトレイを表示しない</source>
        <translation>Hide Command Tray</translation>
    </message>
    <message>
        <source>ファイルトレイを表示する</source>
        <translation>Show File Tray</translation>
    </message>
    <message>
        <source>ファイルトレイを表示しない</source>
        <translation>Hide File Tray</translation>
    </message>
    <message>
        <source>複数枚表示時に絵を表示する</source>
        <translation>Show Pictures in Catalogue View</translation>
    </message>
    <message>
        <source>複数枚表示時に絵を表示しない</source>
        <translation>Hide Pictures in Catalogue View</translation>
    </message>
    <message>
        <source>印刷したい絵をドラッグして印刷の上へドロップするか指定してから実行させてください。</source>
        <translation>Drag the picture you want to print and drop it on Print, or select it before running this command.</translation>
    </message>
    <message>
        <source>印刷するデーターが指定されていません</source>
        <translation>No data to print has been chosen.</translation>
    </message>
    <message>
        <source>ﾌｧｲﾙ(&amp;F)</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>表示するフォルダーを選択する</source>
        <translation>Choose Folder to Show</translation>
    </message>
    <message>
        <source>TWAIN機器からの読み込み</source>
        <translation>Acquire from TWAIN Device</translation>
    </message>
    <message>
        <source>使用するTWAIN機器の選択</source>
        <translation>Select TWAIN Device</translation>
    </message>
    <message>
        <source>取り込み先フォルダーの指定</source>
        <translation>Set Acquisition Folder</translation>
    </message>
    <message>
        <source>印刷 (1枚)</source>
        <translation>Print (Single Picture)</translation>
    </message>
    <message>
        <source>カタログ印刷</source>
        <translation>Print Catalogue</translation>
    </message>
    <message>
        <source>ファイルの編集１</source>
        <translation>Edit File 1</translation>
    </message>
    <message>
        <source>ファイルの編集2</source>
        <translation>Edit File 2</translation>
    </message>
    <message>
        <source>ファイルの削除</source>
        <translation>Delete File</translation>
    </message>
    <message>
        <source>ファイル名の変更</source>
        <translation>Rename File</translation>
    </message>
    <message>
        <source>ファイルの調整</source>
        <translation>Adjust File</translation>
    </message>
    <message>
        <source>終了</source>
        <translation>Exit</translation>
    </message>
    <message>
        <source>表示(&amp;V)</source>
        <translation>&amp;View</translation>
    </message>
    <message>
        <source>複数枚表示</source>
        <translation>Catalogue View</translation>
    </message>
    <message>
        <source>1枚表示</source>
        <translation>Single View</translation>
    </message>
    <message>
        <source>画像の再表示</source>
        <translation>Redraw Pictures</translation>
    </message>
    <message>
        <source>サムネイルファイルの作成</source>
        <translation>Create Thumbnail Files</translation>
    </message>
    <message>
        <source>設定(&amp;S)</source>
        <translation>&amp;Settings</translation>
    </message>
    <message>
        <source>動作環境の設定</source>
        <translation>Program Settings</translation>
    </message>
    <message>
        <source>ヘルプ(&amp;H)</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>ヘルプ</source>
        <translation>Help</translation>
    </message>
    <message>
        <source>バージョン情報</source>
        <translation>Version Information</translation>
    </message>
    <message>
        <source>Twain読み込み実行</source>
        <translation>Acquire from TWAIN device</translation>
    </message>
    <message>
        <source>表示モード切り替え</source>
        <translation>Switch view</translation>
    </message>
    <message>
        <source>再表示</source>
        <translation>Redraw</translation>
    </message>
    <message>
        <source>設定</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>自動</source>
        <translation>Auto</translation>
    </message>
    <message>
        <source>ファイル数</source>
        <translation>Files</translation>
    </message>
    <message>
        <source>ここにドロップすると削除される</source>
        <translation>Drop here to delete</translation>
    </message>
    <message>
        <source>削除</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>編集1</source>
        <translation>Edit 1</translation>
    </message>
    <message>
        <source>印刷</source>
        <translation>Print</translation>
    </message>
    <message>
        <source>編集2</source>
        <translation>Edit 2</translation>
    </message>
    <message>
        <source>調整</source>
        <translation>Adjust</translation>
    </message>
    <message>
        <source>クリップボードへコピー</source>
        <translation>Copy to Clipboard</translation>
    </message>
    <message>
        <source>ｸﾘｯﾌﾟﾎﾞｰﾄﾞ</source>
        <translation>Clipboard</translation>
    </message>
    <message>
        <source>Folder</source>
        <translation>Folder</translation>
    </message>
    <message>
        <source>表示</source>
        <translation>Show</translation>
    </message>
    <message>
        <source>下のファルダー内の絵を表示</source>
        <translation>Show the pictures in the folder below</translation>
    </message>
    <message>
        <source>作成</source>
        <translation>Create</translation>
    </message>
    <message>
        <source>フォルダーを作成する</source>
        <translation>Create a folder</translation>
    </message>
    <message>
        <source>ここにドロップすると下で指定されたフォルダーに移動される</source>
        <translation>Drop here to move to the folder chosen below</translation>
    </message>
    <message>
        <source>ここにドロップすると下で指定されたフォルダーにコピーされる</source>
        <translation>Drop here to copy to the folder chosen below</translation>
    </message>
    <message>
        <source>移動</source>
        <translation>Move</translation>
    </message>
    <message>
        <source>コピー</source>
        <translation>Copy</translation>
    </message>
    <message>
        <source>ファイルトレイのドライブを指定する</source>
        <translation>Choose the file tray&apos;s drive</translation>
    </message>
    <message>
        <source>表示準備中</source>
        <translation>Preparing Display</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>指定フォルダーからの取り込み</source>
        <translation>Acquire from Folder</translation>
    </message>
    <message>
        <source>指定フォルダー読み込み実行</source>
        <translation>Acquire from the chosen folder</translation>
    </message>
    <message>
        <source>Twain機器からの取り込み</source>
        <translation>Acquire from TWAIN Device</translation>
    </message>
    <message>
        <source>フォルダーの絵をPDFにする</source>
        <translation>Make a PDF of the Folder&apos;s Pictures</translation>
    </message>
</context>
<context>
    <name>PMXACQ</name>
    <message>
        <source>エラー</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>TWAIN_32.DLL が Windows にインストールされていません．</source>
        <translation>The TWAIN data source manager (TWAIN_32.DLL) is not installed.</translation>
    </message>
</context>
<context>
    <name>PRT_WIN</name>
    <message>
        <source>印刷%1</source>
        <translation>Print - %1</translation>
    </message>
    <message>
        <source>プリンターの設定</source>
        <translation>Printer Setup</translation>
    </message>
    <message>
        <source>自動的に紙の中心に来るように調整する</source>
        <translation>Centre on the paper automatically</translation>
    </message>
    <message>
        <source>印刷サイズ</source>
        <translation>Print size</translation>
    </message>
    <message>
        <source>幅</source>
        <translation>Width</translation>
    </message>
    <message>
        <source>高さ</source>
        <translation>Height</translation>
    </message>
    <message>
        <source>左上からの位置</source>
        <translation>Position from top left</translation>
    </message>
    <message>
        <source>印刷実行</source>
        <translation>Print</translation>
    </message>
    <message>
        <source>閉じる</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>イメ－ジ印刷中</source>
        <translation>Printing image</translation>
    </message>
</context>
<context>
    <name>PageReader</name>
    <message>
        <source>フォルダー読み込みエラー </source>
        <translation>Error reading folder</translation>
    </message>
    <message>
        <source>ErrorCode (%1)</source>
        <translation>Error code (%1)</translation>
    </message>
    <message>
        <source>理由 : %1</source>
        <translation>Reason: %1</translation>
    </message>
    <message>
        <source>フォルダー名 : %1</source>
        <translation>Folder: %1</translation>
    </message>
    <message>
        <source>読み込みを中止します</source>
        <translation>Reading has been stopped.</translation>
    </message>
</context>
<context>
    <name>PageStore</name>
    <message>
        <source>変換保存中</source>
        <translation>Converting and saving</translation>
    </message>
    <message>
        <source>%1白紙%2.bmp</source>
        <translation>%1blank%2.bmp</translation>
    </message>
</context>
<context>
    <name>PaperSize</name>
    <message>
        <source>A3 (297 × 420 mm)</source>
        <translation>A3 (297 × 420 mm)</translation>
    </message>
    <message>
        <source>A4 (210 × 297 mm)</source>
        <translation>A4 (210 × 297 mm)</translation>
    </message>
    <message>
        <source>A5 (148 × 210 mm)</source>
        <translation>A5 (148 × 210 mm)</translation>
    </message>
    <message>
        <source>B5 (182 × 257 mm)</source>
        <translation>B5 (JIS, 182 × 257 mm)</translation>
    </message>
    <message>
        <source>レター (216 × 279 mm)</source>
        <translation>Letter (8.5 × 11 in)</translation>
    </message>
    <message>
        <source>リーガル (216 × 356 mm)</source>
        <translation>Legal (8.5 × 14 in)</translation>
    </message>
    <message>
        <source>名刺 (91 × 55 mm)</source>
        <translation>Business card (91 × 55 mm)</translation>
    </message>
    <message>
        <source>読み取り範囲全体</source>
        <translation>Whole area</translation>
    </message>
    <message>
        <source>ユーザー定義</source>
        <translation>Custom size</translation>
    </message>
</context>
<context>
    <name>REN_WIN</name>
    <message>
        <source>%1 Rename</source>
        <translation>%1 Rename</translation>
    </message>
    <message>
        <source>変更前ファイル名</source>
        <translation>Current file name</translation>
    </message>
    <message>
        <source>変更後のファイル名</source>
        <translation>New file name</translation>
    </message>
    <message>
        <source>ファイル作成日時を変化させない</source>
        <translation>Keep the file&apos;s date and time</translation>
    </message>
    <message>
        <source>MS-DOS互換ファイル名とする</source>
        <translation>Use MS-DOS compatible file names</translation>
    </message>
    <message>
        <source>既に存在するファイル名です。</source>
        <translation>A file of this name already exists.</translation>
    </message>
    <message>
        <source>指定したファイル名は既に存在します。</source>
        <translation>The specified file name already exists.</translation>
    </message>
    <message>
        <source>ソース側ファイルが存在しません。</source>
        <translation>The source file does not exist.</translation>
    </message>
    <message>
        <source>%1
へ名前を変更できませんでした。
理由 : %2</source>
        <translation>%1
Could not rename the file to this name.
Reason: %2</translation>
    </message>
</context>
<context>
    <name>SET_WIN</name>
    <message>
        <source>%1 設定</source>
        <translation>%1 Settings</translation>
    </message>
    <message>
        <source>%1は桁数をオーバーしています。</source>
        <translation>%1 has more digits than allowed.</translation>
    </message>
    <message>
        <source>Snaplet が見つかりません。
インストールしている場合、場所の設定をしてください。</source>
        <translation>Snaplet was not found.
If it is installed, please set its location.</translation>
    </message>
    <message>
        <source>Snaplet がみつかりました。
正しくない場合、正しいSnapletを指定してください。</source>
        <translation>Snaplet was found.
If this is not the right one, please choose the correct Snaplet.</translation>
    </message>
    <message>
        <source>ProgramFiles (*)</source>
        <translation>Programs (*)</translation>
    </message>
    <message>
        <source>設定変更処理中</source>
        <translation>Applying settings</translation>
    </message>
    <message>
        <source>読込設定</source>
        <translation>Acquisition</translation>
    </message>
    <message>
        <source>ランチ設定</source>
        <translation>Launch</translation>
    </message>
    <message>
        <source>表示環境の設定</source>
        <translation>Display</translation>
    </message>
    <message>
        <source>TWAIN読込設定</source>
        <translation>TWAIN Acquisition</translation>
    </message>
    <message>
        <source>起動/動作設定</source>
        <translation>Start-up/Operation</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>ベースを常にデスクトップとする。</source>
        <translation>Always use the desktop as the base.</translation>
    </message>
    <message>
        <source>取り込み先の指定</source>
        <translation>Acquisition Folder</translation>
    </message>
    <message>
        <source>今日の日付をベースにフォルダーを自動的に作成する。(例970101)</source>
        <translation>Automatically create a folder named after today&apos;s date. (e.g. 970101)</translation>
    </message>
    <message>
        <source>番号は通し番とする。</source>
        <translation>Use serial numbers.</translation>
    </message>
    <message>
        <source>ファイル名</source>
        <translation>File Name</translation>
    </message>
    <message>
        <source>N(番号)の桁数=</source>
        <translation>Digits of N (number) =</translation>
    </message>
    <message>
        <source>開始番号</source>
        <translation>Start number</translation>
    </message>
    <message>
        <source>Twainを利用</source>
        <translation>Use TWAIN</translation>
    </message>
    <message>
        <source>フォルダーより移動</source>
        <translation>Move from a folder</translation>
    </message>
    <message>
        <source>Twainとフォルダーを利用</source>
        <translation>Use TWAIN and a folder</translation>
    </message>
    <message>
        <source>移動元フォルダー指定</source>
        <translation>Choose Source Folder</translation>
    </message>
    <message>
        <source>取り込み方法</source>
        <translation>Acquisition Method</translation>
    </message>
    <message>
        <source>編集ソフト1</source>
        <translation>Editor 1</translation>
    </message>
    <message>
        <source>編集ソフト2</source>
        <translation>Editor 2</translation>
    </message>
    <message>
        <source>変更する</source>
        <translation>Change</translation>
    </message>
    <message>
        <source>引き渡すパス名をMS-DOS互換のものとする。</source>
        <translation>Pass MS-DOS compatible path names.</translation>
    </message>
    <message>
        <source>スキャナ</source>
        <translation>Scanner</translation>
    </message>
    <message>
        <source>カメラ1</source>
        <translation>Camera 1</translation>
    </message>
    <message>
        <source>カメラ2</source>
        <translation>Camera 2</translation>
    </message>
    <message>
        <source>フィルムスキャナ</source>
        <translation>Film scanner</translation>
    </message>
    <message>
        <source>通常</source>
        <translation>Normal</translation>
    </message>
    <message>
        <source>大サイズ</source>
        <translation>Large</translation>
    </message>
    <message>
        <source>する</source>
        <translation>Yes</translation>
    </message>
    <message>
        <source>しない</source>
        <translation>No</translation>
    </message>
    <message>
        <source>Normal</source>
        <translation>Normal</translation>
    </message>
    <message>
        <source>16色</source>
        <translation>16 colours</translation>
    </message>
    <message>
        <source>256色</source>
        <translation>256 colours</translation>
    </message>
    <message>
        <source>使用する</source>
        <translation>Use</translation>
    </message>
    <message>
        <source>使用しない</source>
        <translation>Don&apos;t use</translation>
    </message>
    <message>
        <source>1枚表示時に256色へ減色する</source>
        <translation>Reduce to 256 colours in single view</translation>
    </message>
    <message>
        <source>カタログ表示マトリクス</source>
        <translation>Catalogue Grid</translation>
    </message>
    <message>
        <source>TWAIN機器の絵の指定</source>
        <translation>TWAIN Device Picture</translation>
    </message>
    <message>
        <source>表示モード</source>
        <translation>Display Mode</translation>
    </message>
    <message>
        <source>カタログ表示時の絵の表示</source>
        <translation>Pictures in Catalogue View</translation>
    </message>
    <message>
        <source>カタログ表示時の表示モード</source>
        <translation>Catalogue View Display Mode</translation>
    </message>
    <message>
        <source>コマンドトレイをアイコンのみの表示に</source>
        <translation>Command Tray Icons Only</translation>
    </message>
    <message>
        <source>Snapletのサムネイル</source>
        <translation>Snaplet Thumbnails</translation>
    </message>
    <message>
        <source>BMP形式</source>
        <translation>BMP format</translation>
    </message>
    <message>
        <source>JPEG形式</source>
        <translation>JPEG format</translation>
    </message>
    <message>
        <source>TIFF形式(無圧縮)</source>
        <translation>TIFF format (uncompressed)</translation>
    </message>
    <message>
        <source>TIFF形式(PackedBits圧縮)</source>
        <translation>TIFF format (PackBits compression)</translation>
    </message>
    <message>
        <source>TIFF形式(白黒 Group4)</source>
        <translation>TIFF format (black and white, Group4)</translation>
    </message>
    <message>
        <source>保存形式</source>
        <translation>Save Format</translation>
    </message>
    <message>
        <source>保存時のJPEG圧縮品質係数(0～100 推奨:50～75)</source>
        <translation>JPEG Quality When Saving (0–100, recommended: 50–75)</translation>
    </message>
    <message>
        <source>自動的にサムネイルを作る(Snapletと連携時)</source>
        <translation>Create thumbnails automatically (when working with Snaplet)</translation>
    </message>
    <message>
        <source>Twain機器の選択</source>
        <translation>Select TWAIN Device</translation>
    </message>
    <message>
        <source>取り込むTWAIN機器が前回と変わった場合知らせる。</source>
        <translation>Tell me when the TWAIN device has changed since the last run.</translation>
    </message>
    <message>
        <source>前回終了時のフォルダーを次回起動時の表示フォルダーとする</source>
        <translation>Show the folder shown at the last exit when starting next time</translation>
    </message>
    <message>
        <source>起動時複数枚表示時に絵の表示するかしないか聞いてくる</source>
        <translation>Ask at start-up whether to show pictures in catalogue view</translation>
    </message>
    <message>
        <source>直ちにTWAIN取り込みを行うか聞いてくる</source>
        <translation>Ask at start-up whether to acquire from TWAIN at once</translation>
    </message>
    <message>
        <source>終了時に修了しますかを聞かない</source>
        <translation>Don&apos;t ask for confirmation on exit</translation>
    </message>
    <message>
        <source>Snapletと連携する</source>
        <translation>Work with Snaplet</translation>
    </message>
    <message>
        <source>場所の指定</source>
        <translation>Choose Location</translation>
    </message>
    <message>
        <source>PDF形式(取り込み1回で1ファイル)</source>
        <translation>PDF (one file for each acquisition)</translation>
    </message>
    <message>
        <source>PDFの文字認識</source>
        <translation>Text recognition in PDF documents</translation>
    </message>
    <message>
        <source>文字を認識して検索できるPDFにする</source>
        <translation>Recognise the text and make searchable PDF documents</translation>
    </message>
    <message>
        <source>%1の文字認識データがありません。パッケージ %2 を入れてください。</source>
        <translation>The text recognition data for %1 is not installed. Please install the package %2.</translation>
    </message>
    <message>
        <source>・</source>
        <translation>, </translation>
    </message>
    <message>
        <source>取り込んだページを整える</source>
        <translation>Clean acquired pages</translation>
    </message>
    <message>
        <source>紙の周りの黒い縁を切り取る</source>
        <translation>Cut away the dark frame around the paper</translation>
    </message>
    <message>
        <source>傾きを直す</source>
        <translation>Straighten skewed pages</translation>
    </message>
    <message>
        <source>文字の向きに合わせて回転する</source>
        <translation>Turn pages so their text is upright</translation>
    </message>
    <message>
        <source>白紙のページを保存せずごみ箱に移す</source>
        <translation>Move blank pages to the trash instead of storing them</translation>
    </message>
    <message>
        <source>白紙判定の感度(1～100、高いほど薄い印も中身と見る):</source>
        <translation>Blank page sensitivity (1 to 100; higher counts fainter marks as content):</translation>
    </message>
    <message>
        <source>文字の向きのデータがありません。パッケージ %1 を入れてください。</source>
        <translation>The text orientation data is not installed. Install the package %1.</translation>
    </message>
</context>
<context>
    <name>SV_CPR</name>
    <message>
        <source>Orvana Jpeg Save Parameter</source>
        <translation>Orvana JPEG Save Settings</translation>
    </message>
    <message>
        <source>保存時のJPEG圧縮品質係数(0～100 推奨:50～75) </source>
        <translation>JPEG compression quality for saving (0-100, recommended: 50-75) </translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>SaneOptionControl</name>
    <message>
        <source> px</source>
        <translation> px</translation>
    </message>
    <message>
        <source> bit</source>
        <translation> bit</translation>
    </message>
    <message>
        <source> mm</source>
        <translation> mm</translation>
    </message>
    <message>
        <source> dpi</source>
        <translation> dpi</translation>
    </message>
    <message>
        <source> %</source>
        <translation> %</translation>
    </message>
    <message>
        <source> µs</source>
        <translation> µs</translation>
    </message>
    <message>
        <source>はい</source>
        <translation>Yes</translation>
    </message>
    <message>
        <source>いいえ</source>
        <translation>No</translation>
    </message>
</context>
<context>
    <name>SaneSource</name>
    <message>
        <source>スキャナーは「%1」をその値にできません。元の値のままです。</source>
        <translation>The scanner cannot set “%1” to that value. It keeps its earlier value.</translation>
    </message>
    <message>
        <source>「%1」はスキャナーに合わせて %2 になりました。</source>
        <translation>“%1” is %2: the nearest value the scanner takes.</translation>
    </message>
    <message>
        <source>この機器の前回の設定を読めなかったため、機器の既定値で開きました。</source>
        <translation>The settings kept for this device could not be read, so it opened with its own defaults.</translation>
    </message>
    <message>
        <source>前回の設定のうち「%1」はこの機器が受け付けないため、既定値に戻しました。</source>
        <translation>The device no longer takes the kept value of “%1”, so it has its default value again.</translation>
    </message>
    <message>
        <source>この機器の設定を既定値に戻しました。</source>
        <translation>The device has its default settings again.</translation>
    </message>
    <message>
        <source>」「</source>
        <comment>between two option titles in the message</comment>
        <translation>”, “</translation>
    </message>
    <message>
        <source>スキャナーがプレビューの設定を受け付けません。</source>
        <translation>The scanner does not take the settings of a preview.</translation>
    </message>
    <message>
        <source>プレビューをスキャンしています…</source>
        <translation>Scanning the preview…</translation>
    </message>
</context>
<context>
    <name>ScanEnd</name>
    <message>
        <source>「%1」との接続が切れました。スキャナーと、それを共有しているコンピューターの電源、ネットワーク、アドレスを確認してください。</source>
        <translation>The connection to “%1” was lost. Check the power and the network of the scanner and of the computer that shares it, and its address.</translation>
    </message>
    <message>
        <source>「%1」が応答しなくなりました。スキャナーと、それを共有しているコンピューターの電源とネットワークを確認してください。</source>
        <translation>“%1” stopped answering. Check the power and the network of the scanner and of the computer that shares it.</translation>
    </message>
    <message>
        <source>「%1」が応答しなくなりました。スキャナーの電源とケーブルを確認してください。</source>
        <translation>“%1” stopped answering. Check the scanner&apos;s power and cable.</translation>
    </message>
    <message>
        <source>「%1」のドライバーが異常終了しました。スキャナーの電源とケーブルを確認してください。</source>
        <translation>The driver of “%1” ended unexpectedly. Check the scanner&apos;s power and cable.</translation>
    </message>
    <message>
        <source>「%1」がスキャンの中止に応じなかったため、ドライバーを終了しました。</source>
        <translation>“%1” did not stop when the scan was cancelled, so its driver was ended.</translation>
    </message>
    <message>
        <source>スキャナーのドライバーを起動できませんでした。Orvana をインストールし直してください。</source>
        <translation>The scanner driver could not be started. Install Orvana again.</translation>
    </message>
    <message>
        <source>「%1」の原稿送り装置に用紙がありません。用紙をセットしてください。</source>
        <translation>The document feeder of “%1” is empty. Put the pages in the feeder.</translation>
    </message>
    <message>
        <source>「%1」で紙づまりが起きました。詰まった用紙を取り除き、まだスキャンしていないページをセットし直してください。</source>
        <translation>Paper jammed in “%1”. Remove the jammed sheet and put the pages not yet scanned back in the feeder.</translation>
    </message>
    <message>
        <source>「%1」のカバーが開いています。カバーを閉じてください。</source>
        <translation>The cover of “%1” is open. Close it.</translation>
    </message>
    <message>
        <source>「%1」は使用中です（別のプログラムかコンピューターが使っています）。終わるまで待ってください。</source>
        <translation>“%1” is busy (another program or computer is using it). Wait until it is done.</translation>
    </message>
    <message>
        <source>「%1」への接続が拒否されました。スキャナーを共有しているコンピューターの設定（saned.conf）で、このコンピューターが許可されているか確認してください。</source>
        <translation>“%1” refused the connection. Check that the computer sharing the scanner allows this computer (its saned.conf).</translation>
    </message>
    <message>
        <source>「%1」を使う権限がありません。スキャナーを使えるユーザーか確認してください。</source>
        <translation>You have no permission to use “%1”. Check that your user may use scanners.</translation>
    </message>
    <message>
        <source>「%1」のメモリーが足りません。解像度を下げるか、範囲を小さくしてください。</source>
        <translation>“%1” ran out of memory. Lower the resolution or make the area smaller.</translation>
    </message>
    <message>
        <source>「%1」はこの設定ではスキャンできません。モード、解像度または範囲を変えてください。</source>
        <translation>“%1” cannot scan with these settings. Change the mode, the resolution or the area.</translation>
    </message>
    <message>
        <source>「%1」が送ってきた画像は、この形式では保存できません。モードかビット数を変えてください。</source>
        <translation>The picture “%1” sent cannot be stored in this form. Choose another mode or depth.</translation>
    </message>
    <message>
        <source>「%1」との通信に失敗しました。スキャナーの電源とケーブルを確認してください。</source>
        <translation>Communication with “%1” failed. Check the scanner&apos;s power and cable.</translation>
    </message>
    <message>
        <source>「%1」がエラーを報告しました（SANE の状態 %2）。</source>
        <translation>“%1” reported an error (SANE status %2).</translation>
    </message>
    <message numerus="yes">
        <source>それまでにスキャンした %n ページは保存されます。続きは、もう一度［スキャン］を押してください。</source>
        <translation>
            <numerusform>The page scanned before is kept. To go on, press Scan again.</numerusform>
            <numerusform>The %n pages scanned before are kept. To go on, press Scan again.</numerusform>
        </translation>
    </message>
    <message>
        <source>準備ができたら、もう一度［スキャン］を押してください。</source>
        <translation>When it is ready, press Scan again.</translation>
    </message>
    <message>
        <source>スキャンしています…</source>
        <translation>Scanning…</translation>
    </message>
    <message>
        <source>スキャナーがこの設定を受け付けません。モード、解像度または範囲を変えてください。</source>
        <translation>The scanner does not accept these settings. Change the mode, the resolution or the area.</translation>
    </message>
    <message>
        <source>スキャンを中止しました。</source>
        <translation>Scan cancelled.</translation>
    </message>
    <message numerus="yes">
        <source>%n ページをスキャンしました。</source>
        <translation>
            <numerusform>%n page scanned.</numerusform>
            <numerusform>%n pages scanned.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>SinglePicture</name>
    <message>
        <source>256色への減色処理</source>
        <translation>Reducing to 256 colours</translation>
    </message>
    <message>
        <source>%1は大きすぎて読み込めません</source>
        <translation>%1 is too large to load.</translation>
    </message>
</context>
<context>
    <name>adjust_commands</name>
    <message>
        <source>調整したい絵をドラッグして調整の上へドロップしてするか指定してから実行させてください。</source>
        <translation>Drag the picture you want to adjust and drop it on Adjust, or select it first and then run this command.</translation>
    </message>
    <message>
        <source>調整するデーターが指定されていません</source>
        <translation>No data to adjust has been specified.</translation>
    </message>
</context>
<context>
    <name>catalogue_sheet</name>
    <message>
        <source>%1/%2ベージ</source>
        <translation>Page %1/%2</translation>
    </message>
</context>
<context>
    <name>companion_program</name>
    <message>
        <source>Snapletが見つかりません。</source>
        <translation>Snaplet was not found.</translation>
    </message>
    <message>
        <source>SetUpで編集に使用するソフトを設定してください。</source>
        <translation>Please set the editor to use in Settings.</translation>
    </message>
    <message>
        <source>%1
を起動できませんでした。</source>
        <translation>%1
could not be started.</translation>
    </message>
</context>
<context>
    <name>delete_file</name>
    <message>
        <source>Orvana ファイル削除確認</source>
        <translation>Orvana - Confirm File Deletion</translation>
    </message>
    <message>
        <source>%1を削除します
よろしいですか ?</source>
        <translation>%1 will be deleted.
Do you want to continue?</translation>
    </message>
    <message>
        <source>%1をゴミ箱へ移せませんでした。
理由 : %2</source>
        <translation>%1 could not be moved to the Trash.
Reason: %2</translation>
    </message>
</context>
<context>
    <name>dialog_buttons</name>
    <message>
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>file_commands</name>
    <message>
        <source>削除したい絵をドラッグしてゴミ箱の上へドロップしてするか指定してから実行させてください。</source>
        <translation>Drag the picture you want to delete and drop it on the Trash, or select it first and then run this command.</translation>
    </message>
    <message>
        <source>名前を変えたい絵のファイル名をクリックするか指定してから実行させてください。</source>
        <translation>Click the file name of the picture you want to rename, or select it first and then run this command.</translation>
    </message>
</context>
<context>
    <name>folder_document</name>
    <message>
        <source>表示中のフォルダーに絵がありません。</source>
        <translation>The folder shown holds no pictures.</translation>
    </message>
    <message>
        <source>PDFの作成</source>
        <translation>Make a PDF</translation>
    </message>
    <message>
        <source>PDFを作成しました。</source>
        <translation>The PDF document was made.</translation>
    </message>
    <message>
        <source>ファイル名 : %1</source>
        <translation>File name: %1</translation>
    </message>
    <message>
        <source>ページ数 : %1</source>
        <translation>Pages: %1</translation>
    </message>
    <message>
        <source>文字を認識したページ : %1</source>
        <translation>Pages with recognised text: %1</translation>
    </message>
    <message>
        <source>「%1」は読み込めないため、PDFを作成できませんでした。</source>
        <translation>&quot;%1&quot; cannot be read, so the PDF document was not made.</translation>
    </message>
    <message>
        <source>PDF「%1」を作成できませんでした。</source>
        <translation>The PDF document &quot;%1&quot; could not be made.</translation>
    </message>
    <message>
        <source>保存先に書き込めるか、絵が変更されていないか確認してください。</source>
        <translation>Please check that the destination can be written to and that the pictures have not changed.</translation>
    </message>
    <message>
        <source>%1
は既に存在します。上書きしますか?</source>
        <translation>%1
already exists. Do you want to replace it?</translation>
    </message>
    <message>
        <source>「%1」は%2×%3ピクセルと大きすぎるため、PDFを作成できませんでした。</source>
        <translation>The PDF could not be made: &quot;%1&quot; is %2 × %3 pixels, larger than the program can take.</translation>
    </message>
    <message>
        <source>理由 : %1</source>
        <translation>Reason: %1</translation>
    </message>
</context>
<context>
    <name>folder_tree</name>
    <message>
        <source>ドライブ指定エラー 
ErrorCode (%1)
理由 : %2
指定を中止します</source>
        <translation>Drive selection error
Error code (%1)
Reason: %2
The selection has been cancelled.</translation>
    </message>
</context>
<context>
    <name>page_store_messages</name>
    <message>
        <source>白黒２値</source>
        <translation>Black and white</translation>
    </message>
    <message>
        <source>16色カラー</source>
        <translation>16 colours</translation>
    </message>
    <message>
        <source>16階調グレー</source>
        <translation>16 grey levels</translation>
    </message>
    <message>
        <source>256色カラー</source>
        <translation>256 colours</translation>
    </message>
    <message>
        <source>256階調グレー</source>
        <translation>256 grey levels</translation>
    </message>
    <message>
        <source>フルカラー</source>
        <translation>Full colour</translation>
    </message>
    <message>
        <source>取り込み先のフォルダーを作成できないか、書き込みができません。</source>
        <translation>The acquisition folder cannot be created or cannot be written to.</translation>
    </message>
    <message>
        <source>フォルダー名 : %1</source>
        <translation>Folder: %1</translation>
    </message>
    <message>
        <source>取り込みを中止します</source>
        <translation>The acquisition will be cancelled.</translation>
    </message>
    <message>
        <source>現在のファイル名設定ではこれ以上自動的にファイルはつけられません。</source>
        <translation>With the current file name settings, no more files can be named automatically.</translation>
    </message>
    <message>
        <source>設定の変更を行ってください。</source>
        <translation>Please change the settings.</translation>
    </message>
    <message>
        <source>データーの通し番の桁数をオーバーしました。</source>
        <translation>The serial number has run out of digits.</translation>
    </message>
    <message>
        <source>仮ですがケタをオーバーしてファイル名をつけていきます。</source>
        <translation>For now, files will be named with more digits than set.</translation>
    </message>
    <message>
        <source>後で名前を変えるなどしてください。</source>
        <translation>Please deal with this later, for example by renaming the files.</translation>
    </message>
    <message>
        <source>次の取り込みでは今までのものに上書きされてしまいます｡ </source>
        <translation>The next acquisition will overwrite the files named so far. </translation>
    </message>
    <message>
        <source>形式 (%1)はJpegで保存できないデーター形式です</source>
        <translation>The data format (%1) cannot be saved as JPEG.</translation>
    </message>
    <message>
        <source>BMP形式で保存します。</source>
        <translation>It will be saved in BMP format.</translation>
    </message>
    <message>
        <source>形式 (%1)はTIFF(Group4)で保存できないデーター形式です</source>
        <translation>The data format (%1) cannot be saved as TIFF (Group4).</translation>
    </message>
    <message>
        <source>TIFF無圧縮形式で保存します。</source>
        <translation>It will be saved as uncompressed TIFF.</translation>
    </message>
    <message>
        <source>取り込み先のフォルダーにページを書き込めなくなったため、スキャンを中止しました。</source>
        <translation>Scanning was stopped because pages could no longer be written to the acquisition folder.</translation>
    </message>
    <message>
        <source>取り込んだページのうち%1枚を自動的に名前をつけて保存できませんでした。</source>
        <translation>%1 of the acquired pages could not be saved under automatic names.</translation>
    </message>
    <message>
        <source>ページは「ORVA_KEEP.」で始まる名前で次のフォルダーに残してあります。</source>
        <translation>The pages have been kept under names starting with &quot;ORVA_KEEP.&quot; in the following folders:</translation>
    </message>
    <message>
        <source>次のページはどのフォルダーにも保存できなかったため、そのままの名前で残っています。次回の起動時にもう一度保存します。</source>
        <translation>The following pages could not be saved in any folder and remain under their original names. They will be saved again the next time the program starts.</translation>
    </message>
    <message>
        <source>理由 : %1</source>
        <translation>Reason: %1</translation>
    </message>
    <message>
        <source>保存先フォルダーと空き容量、ファイル名設定を確認してください。</source>
        <translation>Please check the destination folder, the free disk space and the file name settings.</translation>
    </message>
    <message>
        <source>このフォルダーには別の Orvana が取り込み中です。</source>
        <translation>Another Orvana is acquiring into this folder.</translation>
    </message>
    <message>
        <source>その取り込みが終わってから、もう一度実行してください。</source>
        <translation>Please try again when that acquisition has finished.</translation>
    </message>
    <message>
        <source>前回中断された取り込みのページが%1枚残っていました。</source>
        <translation>%1 pages were left over from an interrupted acquisition.</translation>
    </message>
    <message>
        <source>自動的に名前をつけて保存しました。</source>
        <translation>They have been saved under automatic names.</translation>
    </message>
    <message>
        <source>ファイル名 : %1</source>
        <translation>File name: %1</translation>
    </message>
    <message>
        <source>ファイル名 : %1 ～ %2</source>
        <translation>File names: %1 to %2</translation>
    </message>
    <message>
        <source>次のファイルは元のフォルダーから削除できないため、取り込みませんでした。</source>
        <translation>The following files were not acquired because they could not be deleted from their source folder:</translation>
    </message>
    <message>
        <source>元のフォルダーが書き込みできるか確認してください。</source>
        <translation>Please check that the source folder can be written to.</translation>
    </message>
    <message>
        <source>前回中断されたPDF「%1」の作成は完了していませんでした。</source>
        <translation>The PDF document &quot;%1&quot;, interrupted last time, was not completed.</translation>
    </message>
    <message>
        <source>PDF「%1」を作成できませんでした。</source>
        <translation>The PDF document &quot;%1&quot; could not be made.</translation>
    </message>
    <message>
        <source>取り込んだページは画像ファイルのまま保存してあります。</source>
        <translation>The acquired pages are kept as picture files.</translation>
    </message>
    <message>
        <source>PDF「%1」の%2ページのうち%3ページは文字を認識できませんでした。</source>
        <translation>Of the %2 pages of the PDF document &quot;%1&quot;, the text of %3 could not be recognised.</translation>
    </message>
    <message>
        <source>それらのページは検索できません。</source>
        <translation>Those pages cannot be searched.</translation>
    </message>
    <message>
        <source>ファイル名の先頭文字「%1」はファイル名に使えません。</source>
        <translation>The file name prefix &quot;%1&quot; cannot begin a file name.</translation>
    </message>
    <message>
        <source>「/」、「..」、制御文字を含まないものを設定で指定してください。</source>
        <translation>Choose one in the settings that holds no &quot;/&quot;, no &quot;..&quot; and no control characters.</translation>
    </message>
    <message>
        <source>白紙のページが %1 枚あったため、保存せずにごみ箱に移しました。</source>
        <translation>%1 blank page(s) were moved to the trash instead of being stored.</translation>
    </message>
    <message>
        <source>白紙ではなかったページは、ごみ箱から元に戻せます。</source>
        <translation>A page that was not blank can be restored from the trash.</translation>
    </message>
</context>
<context>
    <name>picture_document</name>
    <message>
        <source>文字認識中 %1/%2ページ</source>
        <translation>Recognising text: page %1 of %2</translation>
    </message>
    <message>
        <source>PDF作成中 %1/%2ページ</source>
        <translation>Making the PDF: page %1 of %2</translation>
    </message>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>保存先の空き容量が足りません。</source>
        <translation>There is not enough free space where it is saved.</translation>
    </message>
    <message>
        <source>作成中に絵が変更されたか、読み込めなくなりました。</source>
        <translation>A picture changed, or could no longer be read, while the document was made.</translation>
    </message>
    <message>
        <source>保存先に書き込めません。</source>
        <translation>It cannot be written where it is saved.</translation>
    </message>
</context>
<context>
    <name>printer_access</name>
    <message>
        <source> PDFファイル (印刷時にファイル名を指定)</source>
        <translation> PDF file (file name chosen when printing)</translation>
    </message>
    <message>
        <source> PDFファイル %1</source>
        <translation> PDF file %1</translation>
    </message>
    <message>
        <source>PDFファイルへ印刷</source>
        <translation>Print to PDF File</translation>
    </message>
    <message>
        <source>イメ－ジの印刷に失敗しました。</source>
        <translation>Printing the image failed.</translation>
    </message>
    <message>
        <source>イメ－ジの印刷に失敗しました。
%1
へ書き込めませんでした。元のファイルは変更されていません。
理由 : %2</source>
        <translation>Printing the image failed.
%1
could not be written. The original file has not been changed.
Reason: %2</translation>
    </message>
    <message>
        <source>イメ－ジの印刷に失敗しました。
%1
へ書き込めませんでした。
理由 : %2</source>
        <translation>Printing the image failed.
%1
could not be written.
Reason: %2</translation>
    </message>
</context>
<context>
    <name>startup_messages</name>
    <message>
        <source>%1
を表示します</source>
        <translation>%1
will be shown.</translation>
    </message>
    <message>
        <source>複数枚表示時に絵を表示しますか?</source>
        <translation>Show pictures in the catalogue view?</translation>
    </message>
    <message>
        <source>使用するTWAIN機器名の取り込みに失敗しました。</source>
        <translation>Could not get the name of the TWAIN device to use.</translation>
    </message>
    <message>
        <source>TWAIN機器が接続がされていない可能性があります。</source>
        <translation>The TWAIN device may not be connected.</translation>
    </message>
    <message>
        <source>メーカー製のTwainドライバを入れてから起動しなおすか
設定の中の「取り込むTWAIN機器が前回と変わった場合知らせる。」
のチェックをはずしてください。</source>
        <translation>Install the manufacturer&apos;s TWAIN driver and start the program again, or clear
&quot;Tell me when the TWAIN device has changed since the last run.&quot;
in the settings.</translation>
    </message>
    <message>
        <source>メーカー製のTwainドライバを入れるか
次回設定の中の「取り込むTWAIN機器が前回と変わった場合知らせる。」
のチェックをはずしてください。</source>
        <translation>Install the manufacturer&apos;s TWAIN driver, or next time clear
&quot;Tell me when the TWAIN device has changed since the last run.&quot;
in the settings.</translation>
    </message>
    <message>
        <source>前回のOrvana終了時と使用するTWAIN機器が異なります。</source>
        <translation>The TWAIN device in use is not the one in use when Orvana last exited.</translation>
    </message>
    <message>
        <source>前回使用していたTWAIN機器  :%1</source>
        <translation>TWAIN device used last time: %1</translation>
    </message>
    <message>
        <source>現在設定されているTWAIN機器:%1</source>
        <translation>TWAIN device currently set:  %1</translation>
    </message>
    <message>
        <source>変える場合、「ファイル→使用するTWAIN機器の選択」で取り込む機器の設定をし直してください。</source>
        <translation>To change it, choose the device to acquire from again with &quot;File → Select TWAIN Device&quot;.</translation>
    </message>
    <message>
        <source>直ちにTWAIN機器からのを取り込みを行いますか?</source>
        <translation>Acquire from the TWAIN device now?</translation>
    </message>
    <message>
        <source>(予め使用する機器の設定が行われている必要があります。)</source>
        <translation>(The device to use must have been set up beforehand.)</translation>
    </message>
    <message>
        <source>Orvana 終了</source>
        <translation>Exit Orvana</translation>
    </message>
    <message>
        <source>Orvana を終了します よろしいですか ?</source>
        <translation>Orvana will exit. Are you sure?</translation>
    </message>
    <message>
        <source>%1が指定されましたがフォルダーではありませんので通常起動します。</source>
        <translation>%1 was given, but it is not a folder, so Orvana starts normally.</translation>
    </message>
    <message>
        <source>%1が指定されましたがフォルダーではありません</source>
        <translation>%1 was given, but it is not a folder.</translation>
    </message>
    <message>
        <source>設定ファイルの雛形が読み込めません。</source>
        <translation>The default settings file cannot be read.</translation>
    </message>
    <message>
        <source>Orvana を起動できませんので終了します。</source>
        <translation>Orvana cannot start and will exit.</translation>
    </message>
    <message>
        <source>設定を保存できませんでした。今回の変更は次回の起動に引き継がれません。
ファイル名 : %1
フォルダーに書き込めるか、空き容量があるか確認してください。</source>
        <translation>The settings could not be saved. The changes made in this session will not be kept for the next start.
File name: %1
Check that the folder can be written to and that there is free disk space.</translation>
    </message>
</context>
<context>
    <name>text_data</name>
    <message>
        <source>日本語</source>
        <translation>Japanese</translation>
    </message>
    <message>
        <source>英語</source>
        <translation>English</translation>
    </message>
</context>
<context>
    <name>twaindsm::PaperAreaFields</name>
    <message>
        <source>縦</source>
        <translation>Portrait</translation>
    </message>
    <message>
        <source>横</source>
        <translation>Landscape</translation>
    </message>
    <message>
        <source>用紙サイズ(&amp;Z):</source>
        <translation>Page si&amp;ze:</translation>
    </message>
    <message>
        <source>向き(&amp;N):</source>
        <translation>Orie&amp;ntation:</translation>
    </message>
    <message>
        <source>幅(&amp;W):</source>
        <translation>&amp;Width:</translation>
    </message>
    <message>
        <source>高さ(&amp;H):</source>
        <translation>&amp;Height:</translation>
    </message>
    <message>
        <source>左端(&amp;L):</source>
        <translation>&amp;Left:</translation>
    </message>
    <message>
        <source>上端(&amp;T):</source>
        <translation>&amp;Top:</translation>
    </message>
</context>
<context>
    <name>twaindsm::SaneOptionsPage</name>
    <message>
        <source>詳細なオプションも表示する(&amp;A)</source>
        <translation>Show &amp;advanced options</translation>
    </message>
    <message>
        <source>:</source>
        <translation>:</translation>
    </message>
</context>
<context>
    <name>twaindsm::SaneSourceWindow</name>
    <message>
        <source>%1 dpi</source>
        <translation>%1 dpi</translation>
    </message>
    <message>
        <source>スキャン(&amp;S)</source>
        <translation>&amp;Scan</translation>
    </message>
    <message>
        <source>閉じる(&amp;C)</source>
        <translation>&amp;Close</translation>
    </message>
    <message>
        <source>白黒</source>
        <translation>Black &amp; White</translation>
    </message>
    <message>
        <source>グレー</source>
        <translation>Gray</translation>
    </message>
    <message>
        <source>カラー</source>
        <translation>Color</translation>
    </message>
    <message>
        <source>フラットベッド</source>
        <translation>Flatbed</translation>
    </message>
    <message>
        <source>モード(&amp;M):</source>
        <translation>&amp;Mode:</translation>
    </message>
    <message>
        <source>解像度(&amp;R):</source>
        <translation>&amp;Resolution:</translation>
    </message>
    <message>
        <source>読み取り面(&amp;O):</source>
        <translation>S&amp;ource:</translation>
    </message>
    <message>
        <source>基本(&amp;B)</source>
        <translation>&amp;Basic</translation>
    </message>
    <message>
        <source>すべてのオプション(&amp;P)</source>
        <translation>All o&amp;ptions</translation>
    </message>
    <message>
        <source>既定値に戻す(&amp;D)</source>
        <translation>&amp;Defaults</translation>
    </message>
    <message>
        <source>プレビュー(&amp;V)</source>
        <translation>Pre&amp;view</translation>
    </message>
    <message>
        <source>明るさ(&amp;I):</source>
        <translation>Br&amp;ightness:</translation>
    </message>
    <message>
        <source>コントラスト(&amp;K):</source>
        <translation>Contrast (&amp;K):</translation>
    </message>
    <message>
        <source>しきい値(&amp;E):</source>
        <translation>Thr&amp;eshold:</translation>
    </message>
    <message>
        <source>プレビューと読み取り範囲</source>
        <translation>Preview and scan area</translation>
    </message>
    <message>
        <source>ドラッグで範囲を描き、矢印キーで動かし、Shift+矢印キーで大きさを変えます。</source>
        <translation>Drag to draw the area, move it with the arrow keys, size it with Shift and the arrow keys.</translation>
    </message>
    <message>
        <source>スキャンの設定</source>
        <translation>Scan settings</translation>
    </message>
</context>
<context>
    <name>twaindsm::SourceChooser</name>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>スキャナーの選択</source>
        <translation>Select Source</translation>
    </message>
    <message>
        <source>スキャナー(&amp;S):</source>
        <translation>&amp;Sources:</translation>
    </message>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>twaindsm::VirtualScannerWindow</name>
    <message>
        <source>スキャン(&amp;S)</source>
        <translation>&amp;Scan</translation>
    </message>
    <message>
        <source>閉じる(&amp;C)</source>
        <translation>&amp;Close</translation>
    </message>
    <message>
        <source>仮想スキャナー</source>
        <translation>Virtual Scanner</translation>
    </message>
    <message>
        <source>白黒</source>
        <translation>Black &amp; White</translation>
    </message>
    <message>
        <source>グレー</source>
        <translation>Grey</translation>
    </message>
    <message>
        <source>カラー</source>
        <translation>Colour</translation>
    </message>
    <message>
        <source>パレット</source>
        <translation>Palette</translation>
    </message>
    <message>
        <source>モード(&amp;M):</source>
        <translation>&amp;Mode:</translation>
    </message>
    <message>
        <source>ページ数(&amp;P):</source>
        <translation>&amp;Pages:</translation>
    </message>
</context>
</TS>
