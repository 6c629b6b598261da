<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_TW">
<context>
    <name>Align</name>
    <message>
        <source>Align left edges</source>
        <translation>靠左對齊</translation>
    </message>
    <message>
        <source>Align right edges</source>
        <translation>靠右對齊</translation>
    </message>
    <message>
        <source>Align top edges</source>
        <translation>靠上對齊</translation>
    </message>
    <message>
        <source>Align bottom edges</source>
        <translation>靠下對齊</translation>
    </message>
    <message>
        <source>Align horizontal centres</source>
        <translation>水平置中對齊</translation>
    </message>
    <message>
        <source>Align vertical centres</source>
        <translation>垂直置中對齊</translation>
    </message>
    <message>
        <source>Space evenly across</source>
        <translation>水平均分</translation>
    </message>
    <message>
        <source>Space evenly down</source>
        <translation>垂直均分</translation>
    </message>
    <message>
        <source>Same width</source>
        <translation>相同寬度</translation>
    </message>
    <message>
        <source>Same height</source>
        <translation>相同高度</translation>
    </message>
</context>
<context>
    <name>Barcode</name>
    <message>
        <source>The barcode library libzint is not installed (Debian&apos;s package libzint2.11)</source>
        <translation>找不到條碼程式庫 libzint（Debian 的 libzint2.11 套件）</translation>
    </message>
    <message>
        <source>The barcode library libzint is of another version</source>
        <translation>條碼程式庫 libzint 的版本不對</translation>
    </message>
    <message>
        <source>%1 takes digits only</source>
        <translation>%1 只能是數字</translation>
    </message>
    <message>
        <source>%1 takes %2 or %3 digits; this has %4</source>
        <translation>%1 要 %2 或 %3 位數字，這裡有 %4 位</translation>
    </message>
    <message>
        <source>The check digit of %1 is wrong: the last digit is %2 and should be %3</source>
        <translation>%1 的檢查碼錯誤：最後一位是 %2，應為 %3</translation>
    </message>
    <message>
        <source>There is no barcode data</source>
        <translation>沒有條碼資料</translation>
    </message>
    <message>
        <source>%1 takes ASCII characters only (English letters, digits and signs)</source>
        <translation>%1 只能放 ASCII 字元（英文、數字與符號）</translation>
    </message>
    <message>
        <source>The barcode data is no proper text</source>
        <translation>條碼資料不是正確的文字</translation>
    </message>
    <message>
        <source>Not enough memory to make the barcode</source>
        <translation>記憶體不足，無法產生條碼</translation>
    </message>
    <message>
        <source>The barcode cannot be made</source>
        <translation>無法產生條碼</translation>
    </message>
</context>
<context>
    <name>DatabaseAliases</name>
    <message>
        <source>Cannot connect to database %1: %2</source>
        <translation>無法連上資料庫 %1：%2</translation>
    </message>
    <message>
        <source>Alias %1 names the unknown driver %2 (%3)</source>
        <translation>資料庫別名 %1 指定了不認得的驅動程式 %2（%3）</translation>
    </message>
    <message>
        <source>Alias %1 has the invalid port %2 (%3)</source>
        <translation>資料庫別名 %1 的連接埠 %2 不正確（%3）</translation>
    </message>
    <message>
        <source>Alias %1 is not configured (%2)</source>
        <translation>還沒有設定資料庫別名 %1（%2）</translation>
    </message>
    <message>
        <source>the driver %1 is not installed</source>
        <translation>沒有安裝驅動程式 %1</translation>
    </message>
    <message>
        <source>Alias %1 names no database file (%2)</source>
        <translation>資料庫別名 %1 沒有指定資料庫檔案（%2）</translation>
    </message>
    <message>
        <source>the database file %1 does not exist</source>
        <translation>資料庫檔案 %1 不存在</translation>
    </message>
</context>
<context>
    <name>DatabaseSettings</name>
    <message>
        <source>, </source>
        <translation>、</translation>
    </message>
    <message>
        <source>this computer</source>
        <translation>本機</translation>
    </message>
    <message>
        <source>The settings in effect are wrong; correct them: %1</source>
        <translation>目前的設定有誤，請更正：%1</translation>
    </message>
    <message>
        <source>The settings this computer shares are in effect (%1). Saving puts your own in their place.</source>
        <translation>目前使用這部電腦的共用設定（%1）。儲存後改用您自己的設定。</translation>
    </message>
    <message>
        <source>No mark database is set up yet.</source>
        <translation>還沒有設定嘜頭資料庫。</translation>
    </message>
    <message>
        <source>File</source>
        <translation>檔案</translation>
    </message>
    <message>
        <source>Database</source>
        <translation>資料庫</translation>
    </message>
    <message>
        <source>Data source</source>
        <translation>資料來源</translation>
    </message>
    <message>
        <source>Choose the database file</source>
        <translation>選擇資料庫檔案</translation>
    </message>
    <message>
        <source>SQLite databases (*.db;*.sqlite)|*.db;*.sqlite|All files (*.*)|*.*</source>
        <translation>SQLite 資料庫 (*.db;*.sqlite)|*.db;*.sqlite|所有檔案 (*.*)|*.*</translation>
    </message>
    <message>
        <source>not set</source>
        <translation>未設定</translation>
    </message>
    <message>
        <source>set (removed when saved)</source>
        <translation>已設定（儲存時移除）</translation>
    </message>
    <message>
        <source>set</source>
        <translation>已設定</translation>
    </message>
    <message>
        <source>%1: fill in where the database file is.</source>
        <translation>%1：請填寫資料庫檔案的位置。</translation>
    </message>
    <message>
        <source>%1: fill in the name of the database.</source>
        <translation>%1：請填寫資料庫名稱。</translation>
    </message>
    <message>
        <source>%1: fill in the name of the ODBC data source.</source>
        <translation>%1：請填寫 ODBC 資料來源的名稱。</translation>
    </message>
    <message>
        <source>Port: &quot;%1&quot; is no number from 1 to 65535.</source>
        <translation>連接埠：「%1」不是 1 到 65535 的數字。</translation>
    </message>
    <message>
        <source>File: the folder &quot;%1&quot; does not exist or cannot be written (an SQLite database&apos;s folder must be writable).</source>
        <translation>檔案：資料夾「%1」不存在或無法寫入（SQLite 資料庫所在的資料夾必須可以寫入）。</translation>
    </message>
    <message>
        <source>%1 The settings were not saved.</source>
        <translation>%1設定沒有儲存。</translation>
    </message>
    <message>
        <source>File: &quot;%1&quot; does not exist. Press &quot;Create table&quot; to make a new database file with the table md.</source>
        <translation>檔案：「%1」不存在。按「建立資料表」建立新的資料庫檔案與資料表 md。</translation>
    </message>
    <message>
        <source>File: cannot create &quot;%1&quot;: %2</source>
        <translation>檔案：無法建立「%1」：%2</translation>
    </message>
    <message>
        <source>Creating the table md…</source>
        <translation>正在建立資料表 md…</translation>
    </message>
    <message>
        <source>Connecting…</source>
        <translation>連線中…</translation>
    </message>
    <message>
        <source>The host &quot;%1&quot;, port %2,</source>
        <translation>主機「%1」、連接埠 %2</translation>
    </message>
    <message>
        <source>The host &quot;%1&quot;</source>
        <translation>主機「%1」</translation>
    </message>
    <message>
        <source>%1 &quot;%2&quot;</source>
        <translation>%1「%2」</translation>
    </message>
    <message>
        <source>%1 did not answer within %2 seconds: check the host and the port, and whether the database server runs. The settings were not saved.</source>
        <translation>%1在 %2 秒內沒有回應：請確認主機與連接埠，以及資料庫伺服器是否已啟動。設定沒有儲存。</translation>
    </message>
    <message>
        <source>User: the database refused the user &quot;%1&quot;. Check the user, and the password in the password file or the data source.
%2</source>
        <translation>使用者：資料庫拒絕使用者「%1」登入。請確認使用者，以及密碼檔或資料來源中的密碼。
%2</translation>
    </message>
    <message>
        <source>Host, port: cannot reach &quot;%1&quot; on port %2, or it has no database &quot;%3&quot;.
%4</source>
        <translation>主機、連接埠：無法連上「%1」的連接埠 %2，或沒有資料庫「%3」。
%4</translation>
    </message>
    <message>
        <source>Host, port: cannot reach &quot;%1&quot;, or it has no database &quot;%2&quot;.
%3</source>
        <translation>主機、連接埠：無法連上「%1」，或沒有資料庫「%2」。
%3</translation>
    </message>
    <message>
        <source>%1: cannot open &quot;%2&quot;.
%3</source>
        <translation>%1：無法開啟「%2」。
%3</translation>
    </message>
    <message>
        <source>This database cannot be used: %1</source>
        <translation>無法使用這個資料庫：%1</translation>
    </message>
    <message>
        <source>unknown database error</source>
        <translation>資料庫錯誤，原因不明</translation>
    </message>
    <message>
        <source>%1
The settings were not saved.</source>
        <translation>%1
設定沒有儲存。</translation>
    </message>
    <message>
        <source>Ask the database administrator to create the table md.</source>
        <translation>請資料庫管理者建立資料表 md。</translation>
    </message>
    <message>
        <source>Press &quot;Create table&quot; to make md.</source>
        <translation>按「建立資料表」建立 md。</translation>
    </message>
    <message>
        <source>The settings were not saved: the database lacks %1 and cannot keep marks. %2</source>
        <translation>設定沒有儲存：資料庫缺少 %1，無法存放嘜頭。%2</translation>
    </message>
    <message>
        <source>This database lacks %1: marks cannot be printed for shipments. Save the settings anyway?</source>
        <translation>這個資料庫缺少 %1，將無法依出貨資料列印。仍要儲存設定嗎？</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>儲存</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>The settings were not saved.</source>
        <translation>設定沒有儲存。</translation>
    </message>
    <message>
        <source>Made the table md. The table md and the view VMD are complete.</source>
        <translation>已建立資料表 md。資料表 md 與檢視 VMD 都齊全。</translation>
    </message>
    <message>
        <source>Connected: the table md and the view VMD are complete.</source>
        <translation>連線成功：資料表 md 與檢視 VMD 都齊全。</translation>
    </message>
    <message>
        <source>Made the table md. The database still lacks: %1. %2</source>
        <translation>已建立資料表 md。資料庫仍缺少：%1。%2</translation>
    </message>
    <message>
        <source>Connected, but the database lacks: %1. %2</source>
        <translation>連線成功，但資料庫缺少：%1。%2</translation>
    </message>
    <message>
        <source>The settings were not saved: the editors&apos; changes are still there.</source>
        <translation>設定沒有儲存：編輯視窗的變更仍在。</translation>
    </message>
    <message>
        <source>Cannot write &quot;%1&quot;; the settings did not change.</source>
        <translation>無法寫入「%1」，設定沒有改變。</translation>
    </message>
</context>
<context>
    <name>DefaultData</name>
    <message>
        <source>Cannot create the folder %1: %2</source>
        <translation>無法建立資料夾 %1：%2</translation>
    </message>
    <message>
        <source>Cannot write %1: %2</source>
        <translation>無法寫入 %1：%2</translation>
    </message>
    <message>
        <source>Cannot read %1: %2</source>
        <translation>無法讀取 %1：%2</translation>
    </message>
    <message>
        <source>Cannot create the database %1: </source>
        <translation>無法建立資料庫 %1：</translation>
    </message>
    <message>
        <source>Cannot configure the alias %1 in %2</source>
        <translation>無法在 %2 中設定資料庫別名 %1</translation>
    </message>
    <message>
        <source>Cannot prepare the default data: unknown error</source>
        <translation>無法準備預設資料：原因不明</translation>
    </message>
</context>
<context>
    <name>EditMenu</name>
    <message>
        <source>Undo</source>
        <translation>復原</translation>
    </message>
    <message>
        <source>Redo</source>
        <translation>重做</translation>
    </message>
    <message>
        <source>Select all</source>
        <translation>全選</translation>
    </message>
    <message>
        <source>Align</source>
        <translation>對齊</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Mark files (*.mark)|*.mark|All files (*.*)|*.*</source>
        <translation>嘜頭檔 (*.mark)|*.mark|所有檔案 (*.*)|*.*</translation>
    </message>
    <message>
        <source>Cannot export the mark file.

%1</source>
        <translation>無法匯出嘜頭檔。

%1</translation>
    </message>
    <message>
        <source>Cannot import the mark file; the editors did not change.

%1</source>
        <translation>無法匯入嘜頭檔，編輯視窗沒有改變。

%1</translation>
    </message>
    <message>
        <source>Importing a mark file needs both editors, the main mark&apos;s and the side mark&apos;s: open the mark again first.</source>
        <translation>匯入嘜頭檔需要正嘜與側嘜兩個編輯視窗：請先重新開啟這個嘜頭。</translation>
    </message>
    <message>
        <source>Cannot import the main mark of the mark file; the editors did not change.

%1</source>
        <translation>無法匯入嘜頭檔的正嘜，編輯視窗沒有改變。

%1</translation>
    </message>
    <message>
        <source>Cannot import the side mark of the mark file; the editors did not change.

%1</source>
        <translation>無法匯入嘜頭檔的側嘜，編輯視窗沒有改變。

%1</translation>
    </message>
    <message>
        <source>Export mark file</source>
        <translation>匯出嘜頭檔</translation>
    </message>
    <message>
        <source>Import mark file</source>
        <translation>匯入嘜頭檔</translation>
    </message>
    <message>
        <source>(dbalias.ini has no %1)</source>
        <translation>（dbalias.ini 中沒有 %1）</translation>
    </message>
    <message>
        <source>Shipping mark editor markedit %1

Qt %2
Mark database %3: %4</source>
        <translation>嘜頭編輯程式 markedit %1

Qt %2
嘜頭資料庫 %3：%4</translation>
    </message>
    <message>
        <source>About the shipping mark editor</source>
        <translation>關於嘜頭編輯程式</translation>
    </message>
    <message>
        <source>New mark</source>
        <translation>新增嘜頭</translation>
    </message>
    <message>
        <source>Customer %1 already has a mark %2. Open it?</source>
        <translation>客戶編號 %1 的嘜頭編號 %2 已經有嘜頭了。要開啟它嗎？</translation>
    </message>
    <message>
        <source>Yes</source>
        <translation>是</translation>
    </message>
    <message>
        <source>No</source>
        <translation>否</translation>
    </message>
    <message>
        <source>Save mark as</source>
        <translation>另存新嘜頭</translation>
    </message>
    <message>
        <source>customer %1&apos;s mark %2</source>
        <translation>客戶編號 %1 的嘜頭編號 %2</translation>
    </message>
    <message>
        <source>%1 exists already. Replace it with this design?</source>
        <translation>%1 已經有嘜頭了。要以目前的設計取代它嗎？</translation>
    </message>
    <message>
        <source>Someone else changed %1 after you were asked; nothing was written. Try again.</source>
        <translation>%1 的嘜頭在詢問之後已被別人變更，沒有寫入。請再試一次。</translation>
    </message>
    <message>
        <source>Cannot save the mark as a new one: %1</source>
        <translation>無法另存新嘜頭：%1</translation>
    </message>
    <message>
        <source>Saved as %1</source>
        <translation>已另存為 %1</translation>
    </message>
    <message>
        <source>, </source>
        <translation>、</translation>
    </message>
    <message>
        <source>Saved %1</source>
        <translation>已儲存%1</translation>
    </message>
    <message>
        <source>Nothing was saved</source>
        <translation>沒有儲存任何設定</translation>
    </message>
    <message>
        <source>No changes to save</source>
        <translation>沒有需要儲存的變更</translation>
    </message>
    <message>
        <source>Shipping mark editor</source>
        <translation>嘜頭編輯程式</translation>
    </message>
    <message>
        <source>%1 customer no.  %2 mark no.  %3</source>
        <translation>%1 客戶編號  %2 嘜頭編號  %3</translation>
    </message>
    <message>
        <source>Main mark</source>
        <translation>正嘜</translation>
    </message>
    <message>
        <source>Side mark</source>
        <translation>側嘜</translation>
    </message>
    <message>
        <source>Properties</source>
        <translation>屬性視窗</translation>
    </message>
</context>
<context>
    <name>MarkChecks</name>
    <message>
        <source>is no field of the shipments (%1) and prints as typed</source>
        <translation>不是出貨資料（%1）的欄位，照原樣印出</translation>
    </message>
    <message>
        <source>has a format other than decimals such as 0, 0.0, 0.00; the value prints as it is</source>
        <translation>的格式不是 0、0.0、0.00 這類小數位數，數值照原樣印出</translation>
    </message>
    <message>
        <source>%1, %2: %3 %4.</source>
        <translation>%1的 %2：%3 %4。</translation>
    </message>
    <message>
        <source>The barcode %2 of the %1 (%3, data &quot;%4&quot;) cannot be made: %5. Nothing was output.</source>
        <translation>%1的條碼 %2（%3，資料「%4」）無法產生：%5。沒有輸出任何東西。</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1：%2</translation>
    </message>
    <message>
        <source>The picture %2 of the %1 cannot be shown (%3); it prints as a crossed box.</source>
        <translation>%1的圖片 %2無法顯示（%3），印出來是打叉的方框。</translation>
    </message>
    <message>
        <source>The picture %2 of the %1 is a bitmap: it goes into the SVG stencil as a picture, which a cutter cannot cut.</source>
        <translation>%1的圖片 %2是點陣圖，以圖片放進 SVG 模板，切割機無法切割。</translation>
    </message>
    <message>
        <source>The barcode %2 of the %1 (%3)</source>
        <translation>%1的條碼 %2（%3）</translation>
    </message>
    <message>
        <source>%1 cannot be cut as a stencil: what lies between its bars falls out.</source>
        <translation>%1無法做成切割模板：線條之間的部分會脫落。</translation>
    </message>
    <message>
        <source>On a mark %2 mm wide, the thinnest bar of %1 is only %3 mm, below the %4 mm cartons need: scanners may not read it.</source>
        <translation>%1在 %2 mm 寬的嘜頭上，最細的線條只有 %3 mm，小於紙箱條碼的最小值 %4 mm，掃描器可能讀不出來。</translation>
    </message>
</context>
<context>
    <name>MarkEditor</name>
    <message>
        <source>Cannot read the design of the %1: the editor opens empty; the design in the database stays as it is until you save.

%2</source>
        <translation>無法讀取%1的設定，編輯視窗以空白畫面開啟；資料庫中的設定在儲存之前不會改變。

%2</translation>
    </message>
    <message>
        <source>Cannot read the fields of the shipments; only the carton numbers can be put in.

%1</source>
        <translation>無法讀取出貨資料的欄位清單，只能插入箱號。

%1</translation>
    </message>
    <message>
        <source>Linked field</source>
        <translation>連結欄位</translation>
    </message>
    <message>
        <source>Colour</source>
        <translation>顏色</translation>
    </message>
    <message>
        <source>Line colour</source>
        <translation>線條顏色</translation>
    </message>
    <message>
        <source>Picture</source>
        <translation>圖片</translation>
    </message>
    <message>
        <source>Font</source>
        <translation>字型</translation>
    </message>
    <message>
        <source>Choose a picture</source>
        <translation>選擇圖片</translation>
    </message>
    <message>
        <source>Pictures (*.png;*.jpg;*.jpeg;*.svg)|*.png;*.jpg;*.jpeg;*.svg|All files (*.*)|*.*</source>
        <translation>圖片 (*.png;*.jpg;*.jpeg;*.svg)|*.png;*.jpg;*.jpeg;*.svg|所有檔案 (*.*)|*.*</translation>
    </message>
    <message>
        <source>This picture cannot be used; nothing changed.

%1</source>
        <translation>無法使用這個圖片，沒有改變。

%1</translation>
    </message>
    <message>
        <source>Select a single element to set its shape</source>
        <translation>請選取單一物件來設定形狀</translation>
    </message>
    <message>
        <source>Set shape</source>
        <translation>設定形狀</translation>
    </message>
    <message>
        <source>Cannot read the list of fields to link; the field did not change.

%1</source>
        <translation>無法讀取連結欄位的清單，欄位沒有改變。

%1</translation>
    </message>
    <message>
        <source>Cannot read this customer&apos;s export documents:
%1</source>
        <translation>無法讀取這位客戶的出口文件：
%1</translation>
    </message>
    <message>
        <source>No row</source>
        <translation>不顯示資料</translation>
    </message>
    <message>
        <source>Cannot read the rows of the export document %1:
%2</source>
        <translation>無法讀取出口文件 %1 的資料：
%2</translation>
    </message>
    <message>
        <source>No customer number or mark number is given: the design of the %1 cannot be saved. Start the program again with a customer number and a mark number, for example: markedit C001 M01</source>
        <translation>沒有指定客戶編號或嘜頭編號，%1的設定無法儲存。請以客戶編號與嘜頭編號重新啟動程式，例如：markedit C001 M01</translation>
    </message>
    <message>
        <source>Cannot save the design of the %1. The design stays on the screen; the one in the database did not change.

%2</source>
        <translation>無法儲存%1的設定。設計仍留在畫面上，資料庫中原有的設定沒有改變。

%2</translation>
    </message>
    <message>
        <source>Someone deleted the design of the %1 from the database after this editor read it.</source>
        <translation>%1的設定在這個視窗讀取之後，已被別人從資料庫刪除。</translation>
    </message>
    <message>
        <source>Someone saved a design of the %1 in the database that this editor did not read.</source>
        <translation>資料庫中已有別人儲存的%1設定，這個視窗沒有讀到它。</translation>
    </message>
    <message>
        <source>Someone changed and saved the design of the %1 after this editor read it.</source>
        <translation>%1的設定在這個視窗讀取之後，已被別人變更並儲存。</translation>
    </message>
    <message>
        <source>Overwrite: put this editor&apos;s design in the place of the one in the database.</source>
        <translation>覆蓋：以這個視窗的設計取代資料庫中的設定。</translation>
    </message>
    <message>
        <source>Load theirs: drop this editor&apos;s changes and show the design in the database.</source>
        <translation>載入對方的設定：放棄這個視窗的變更，改為顯示資料庫中的設定。</translation>
    </message>
    <message>
        <source>Load theirs: drop this editor&apos;s changes and clear the stage.</source>
        <translation>載入對方的設定：放棄這個視窗的變更，清空畫面。</translation>
    </message>
    <message>
        <source>Cancel: do not save this time; the design stays on the screen.</source>
        <translation>取消：這次不儲存，設計仍留在畫面上。</translation>
    </message>
    <message>
        <source>Load theirs</source>
        <translation>載入對方的設定</translation>
    </message>
    <message>
        <source>Import mark file</source>
        <translation>匯入嘜頭檔</translation>
    </message>
    <message>
        <source>Some properties of the %1 cannot be read and were passed over; the rest opened as usual, and saving does not write those properties back.

%2</source>
        <translation>%1的部分屬性無法讀取，已略過，其餘照常開啟；儲存時不會寫回這些屬性。

%2</translation>
    </message>
    <message>
        <source>Pictures of the %1 cannot be shown: crossed boxes stand in for them, and saving keeps them as they are.
%2</source>
        <translation>%1的圖片無法顯示，以打叉的方框代替；儲存時照原樣保留。
%2</translation>
    </message>
    <message>
        <source>Align</source>
        <translation>對齊</translation>
    </message>
    <message>
        <source>The design of the %1 has changed. Save it?</source>
        <translation>%1的設定已變更，是否儲存？</translation>
    </message>
</context>
<context>
    <name>MarkFile</name>
    <message>
        <source>A mark file holds at most 32 MB; this one is larger.</source>
        <translation>嘜頭檔最大 32 MB，這個檔案太大了。</translation>
    </message>
    <message>
        <source>Line %2 of the %1 cannot be read: %3</source>
        <translation>%1的第 %2 行無法讀取：%3</translation>
    </message>
    <message>
        <source>The %1 cannot be read: %2</source>
        <translation>%1無法讀取：%2</translation>
    </message>
    <message>
        <source>This mark file has a format version (%1) this program does not know; it reads version 1 only.</source>
        <translation>這個嘜頭檔的格式版本（%1）這個程式不認得，只能讀取版本 1。</translation>
    </message>
    <message>
        <source>This is no mark file: its first line should be &quot;%1&quot;.</source>
        <translation>這不是嘜頭檔：第一行應為「%1」。</translation>
    </message>
    <message>
        <source>Line %1 of the mark file should be &quot;%2&quot;.</source>
        <translation>嘜頭檔第 %1 行應為「%2」。</translation>
    </message>
    <message>
        <source>The mark file is incomplete: the line &quot;%1&quot; is missing.</source>
        <translation>嘜頭檔不完整：缺少「%1」一行。</translation>
    </message>
    <message>
        <source>Cannot write the mark file %1: %2</source>
        <translation>無法寫入嘜頭檔 %1：%2</translation>
    </message>
    <message>
        <source>Cannot open the mark file %1: %2</source>
        <translation>無法開啟嘜頭檔 %1：%2</translation>
    </message>
</context>
<context>
    <name>MarkKeys</name>
    <message>
        <source>Fill in the %1.</source>
        <translation>請輸入%1。</translation>
    </message>
    <message>
        <source>The %1 may hold no control characters.</source>
        <translation>%1不能含有控制字元。</translation>
    </message>
    <message>
        <source>The %1 &quot;%2&quot; holds characters Big5 lacks, which the database cannot keep.</source>
        <translation>%1「%2」含有 Big5 沒有的字，資料庫存不下。</translation>
    </message>
    <message>
        <source>The %1 takes at most %2 bytes (2 for each Chinese character); &quot;%3&quot; has %4.</source>
        <translation>%1最多 %2 個位元組（中文字每字 2 個），「%3」有 %4 個。</translation>
    </message>
</context>
<context>
    <name>MarkOutput</name>
    <message>
        <source>Cannot write %1: %2</source>
        <translation>無法寫入 %1：%2</translation>
    </message>
    <message>
        <source>Shipment %1 of customer %2 has no rows to print</source>
        <translation>客戶 %2 的出貨 %1 沒有可以列印的資料列</translation>
    </message>
    <message>
        <source>A data text is linked to the field %1, which the shipment view %2 no longer has</source>
        <translation>有連結欄位的文字連結到欄位 %1，但出貨檢視 %2 已經沒有這個欄位</translation>
    </message>
    <message>
        <source>A mark is 10 to 5000 mm wide</source>
        <translation>嘜頭的寬度必須是 10 到 5000 公釐</translation>
    </message>
    <message>
        <source>Cannot write %1</source>
        <translation>無法寫入 %1</translation>
    </message>
    <message>
        <source>A picture has 10 to 2400 dots per inch</source>
        <translation>圖片的解析度必須是每英吋 10 到 2400 點</translation>
    </message>
    <message>
        <source>The picture would be too large: choose fewer dots per inch or a narrower mark</source>
        <translation>圖片會太大：請降低解析度或縮小嘜頭寬度</translation>
    </message>
    <message>
        <source>Not enough memory for the picture</source>
        <translation>記憶體不足，無法產生圖片</translation>
    </message>
    <message>
        <source>Cannot tell what to write from the name %1: use .pdf, .svg or .png</source>
        <translation>無法從檔名 %1 判斷要輸出的格式：請用 .pdf、.svg 或 .png</translation>
    </message>
    <message>
        <source>Row %1 (PACKING單號 %2, 產品編號 %3)</source>
        <translation>第 %1 列（PACKING單號 %2、產品編號 %3）</translation>
    </message>
    <message>
        <source>The output goes on as usual, but note:</source>
        <translation>輸出照常進行，但請注意：</translation>
    </message>
</context>
<context>
    <name>MarkSchema</name>
    <message>
        <source>The table md is not made through the driver %1</source>
        <translation>不能經由驅動程式 %1 建立資料表 md</translation>
    </message>
    <message>
        <source>Cannot create the table md: %1</source>
        <translation>無法建立資料表 md：%1</translation>
    </message>
    <message>
        <source>the table md</source>
        <translation>資料表 md</translation>
    </message>
    <message>
        <source>the column %1 of the table md</source>
        <translation>資料表 md 的欄位 %1</translation>
    </message>
    <message>
        <source>the key of the table md (customerid, mdid, flag)</source>
        <translation>資料表 md 的主鍵（customerid、mdid、flag）</translation>
    </message>
    <message>
        <source>the view VMD</source>
        <translation>檢視 VMD</translation>
    </message>
    <message>
        <source>the column %1 of the view VMD</source>
        <translation>檢視 VMD 的欄位 %1</translation>
    </message>
</context>
<context>
    <name>MarkStore</name>
    <message>
        <source>%1 (customer %2, mark %3)</source>
        <translation>%1（客戶編號 %2，嘜頭編號 %3）</translation>
    </message>
    <message>
        <source>the database file %1 does not exist</source>
        <translation>資料庫檔案 %1 不存在</translation>
    </message>
    <message>
        <source>unknown database error</source>
        <translation>資料庫錯誤，原因不明</translation>
    </message>
    <message>
        <source>Cannot save the %1 in table md of %2: </source>
        <translation>無法將%1存入 %2 的資料表 md：</translation>
    </message>
    <message>
        <source>Cannot list the customers of table md of %1: </source>
        <translation>無法列出 %1 的資料表 md 中的客戶：</translation>
    </message>
    <message>
        <source>Cannot write the mark (customer %1, mark %2) in table md of %3: </source>
        <translation>無法將嘜頭（客戶編號 %1，嘜頭編號 %2）寫入 %3 的資料表 md：</translation>
    </message>
    <message>
        <source>Cannot read the %1 from table md of %2: </source>
        <translation>無法從 %2 的資料表 md 讀取%1：</translation>
    </message>
    <message>
        <source>Cannot list the marks of table md of %1: </source>
        <translation>無法列出 %1 的資料表 md 中的嘜頭：</translation>
    </message>
    <message>
        <source>main mark</source>
        <translation>正嘜</translation>
    </message>
    <message>
        <source>side mark</source>
        <translation>側嘜</translation>
    </message>
    <message>
        <source>No mark database (dbmd) is set up: set it up with &quot;Database settings&quot; in the File menu.</source>
        <translation>還沒有設定嘜頭資料庫（dbmd）：請用 File 功能表的「資料庫設定」設定。</translation>
    </message>
    <message>
        <source>Cannot reach the database: check that the database server runs and the network reaches it, and check the host, the port and the database in &quot;Database settings&quot; in the File menu.</source>
        <translation>無法連上資料庫：請確認資料庫伺服器已啟動、網路可以連線，並在 File 功能表的「資料庫設定」中確認主機、連接埠與資料庫。</translation>
    </message>
    <message>
        <source>The database refused the login: check the user in &quot;Database settings&quot; in the File menu; the password belongs in the server&apos;s password file or the ODBC data source.</source>
        <translation>資料庫拒絕登入：請在 File 功能表的「資料庫設定」中確認使用者；密碼放在伺服器的密碼檔或 ODBC 資料來源中。</translation>
    </message>
    <message>
        <source>The database lacks the table md or the view VMD: &quot;Database settings&quot; in the File menu tests the connection and makes md in an empty database.</source>
        <translation>資料庫中缺少資料表 md 或檢視 VMD：File 功能表的「資料庫設定」可以測試連線，並在空的資料庫中建立 md。</translation>
    </message>
    <message>
        <source>There is no permission to write the table md: ask the database administrator for it.</source>
        <translation>沒有寫入資料表 md 的權限：請資料庫管理者開放寫入。</translation>
    </message>
</context>
<context>
    <name>NumbersDialog</name>
    <message>
        <source>Cannot read the list of customers: %1</source>
        <translation>無法讀取客戶清單：%1</translation>
    </message>
    <message>
        <source>customer number</source>
        <translation>客戶編號</translation>
    </message>
    <message>
        <source>mark number</source>
        <translation>嘜頭編號</translation>
    </message>
</context>
<context>
    <name>OpenDialog</name>
    <message>
        <source>The database holds no mark yet.</source>
        <translation>資料庫中還沒有嘜頭。</translation>
    </message>
    <message>
        <source>Cannot read the list of marks: %1</source>
        <translation>無法讀取嘜頭清單：%1</translation>
    </message>
    <message>
        <source>Cannot read this mark: %1</source>
        <translation>無法讀取這個嘜頭：%1</translation>
    </message>
    <message>
        <source>, </source>
        <translation>、</translation>
    </message>
    <message>
        <source>This mark is no longer in the database.</source>
        <translation>這個嘜頭已經不在資料庫中了。</translation>
    </message>
    <message>
        <source>Delete customer %1&apos;s mark %2 (%3)?

A deleted mark cannot be brought back.</source>
        <translation>要刪除客戶編號 %1 的嘜頭編號 %2（%3）嗎？

刪除之後無法復原。</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>刪除</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>Deleted %1 %2.</source>
        <translation>已刪除 %1 %2。</translation>
    </message>
    <message>
        <source>Someone else changed this mark after you were asked; it was not deleted.</source>
        <translation>這個嘜頭在詢問之後已被別人變更，沒有刪除。</translation>
    </message>
    <message>
        <source>Cannot delete the mark: %1</source>
        <translation>無法刪除嘜頭：%1</translation>
    </message>
    <message>
        <source>%1 (none)</source>
        <translation>%1（無）</translation>
    </message>
    <message>
        <source>Cannot show this mark: %1</source>
        <translation>無法顯示這個嘜頭：%1</translation>
    </message>
</context>
<context>
    <name>Output</name>
    <message>
        <source>Export</source>
        <translation>匯出</translation>
    </message>
    <message>
        <source>Cannot read this customer&apos;s export documents; only the design itself can be printed.
%1</source>
        <translation>無法讀取這位客戶的出口文件，只能印出設計本身。
%1</translation>
    </message>
    <message>
        <source>No open mark to output.</source>
        <translation>沒有開著的嘜頭可以輸出。</translation>
    </message>
    <message>
        <source>Cannot output the mark: %1</source>
        <translation>無法輸出嘜頭：%1</translation>
    </message>
</context>
<context>
    <name>OutputDialog</name>
    <message>
        <source>Print preview</source>
        <translation>預覽列印</translation>
    </message>
    <message>
        <source>Print</source>
        <translation>列印</translation>
    </message>
    <message>
        <source>Export PDF</source>
        <translation>匯出 PDF</translation>
    </message>
    <message>
        <source>Export SVG</source>
        <translation>匯出 SVG</translation>
    </message>
    <message>
        <source>Export PNG</source>
        <translation>匯出 PNG</translation>
    </message>
    <message>
        <source>Output</source>
        <translation>輸出</translation>
    </message>
    <message>
        <source>(none: print the design itself)</source>
        <translation>（不選：印出設計本身）</translation>
    </message>
    <message>
        <source>Export document no.</source>
        <translation>出口文件單號</translation>
    </message>
    <message>
        <source>Main mark</source>
        <translation>正嘜</translation>
    </message>
    <message>
        <source>Side mark</source>
        <translation>側嘜</translation>
    </message>
    <message>
        <source>Main and side mark</source>
        <translation>正嘜和側嘜</translation>
    </message>
    <message>
        <source>Mark</source>
        <translation>嘜頭</translation>
    </message>
    <message>
        <source>Width (the height follows)</source>
        <translation>寬度（高度依比例）</translation>
    </message>
    <message>
        <source>Resolution</source>
        <translation>解析度</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>確定</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
</context>
<context>
    <name>Paste</name>
    <message>
        <source>Nothing was pasted: %1</source>
        <translation>沒有貼上任何物件：%1</translation>
    </message>
    <message>
        <source>Pasted without what could not be read:
%1</source>
        <translation>已貼上，但略過了無法讀取的部分：
%1</translation>
    </message>
</context>
<context>
    <name>Picture</name>
    <message>
        <source>%1 bytes</source>
        <translation>%1 位元組</translation>
    </message>
    <message>
        <source>The picture has %1, more than the 4 MiB allowed</source>
        <translation>圖片有 %1，超過上限 4 MiB</translation>
    </message>
    <message>
        <source>(none)</source>
        <translation>（無）</translation>
    </message>
    <message>
        <source>Picture</source>
        <translation>圖片</translation>
    </message>
    <message>
        <source>The SVG declares entities (&lt;!ENTITY&gt;) and is not shown, for safety</source>
        <translation>SVG 宣告了實體（&lt;!ENTITY&gt;），為了安全不顯示</translation>
    </message>
    <message>
        <source>The SVG is no proper XML: %1</source>
        <translation>SVG 不是正確的 XML：%1</translation>
    </message>
    <message>
        <source>Cannot read %1: %2</source>
        <translation>無法讀取 %1：%2</translation>
    </message>
    <message>
        <source>%1 has %2 KB, more than the 4 MiB a picture may have</source>
        <translation>%1 有 %2 KB，超過圖片的上限 4 MiB</translation>
    </message>
    <message>
        <source>There is no picture</source>
        <translation>沒有圖片</translation>
    </message>
    <message>
        <source>The picture is larger than 4 MiB</source>
        <translation>圖片超過 4 MiB</translation>
    </message>
    <message>
        <source>This is no PNG, JPEG or SVG picture</source>
        <translation>不是 PNG、JPEG 或 SVG 圖片</translation>
    </message>
    <message>
        <source>The %1 file is incomplete (its end is missing)</source>
        <translation>%1 檔案不完整（少了結尾）</translation>
    </message>
    <message>
        <source>The picture has %1 × %2 pixels, more than the %3 million allowed</source>
        <translation>圖片有 %1 × %2 像素，超過上限 %3 百萬像素</translation>
    </message>
    <message>
        <source>The picture cannot be decoded: %1</source>
        <translation>圖片無法解碼：%1</translation>
    </message>
    <message>
        <source>This program has no SVG drawing module</source>
        <translation>這個程式沒有 SVG 繪圖模組</translation>
    </message>
    <message>
        <source>The SVG cannot be shown: %1</source>
        <translation>無法顯示 SVG：%1</translation>
    </message>
    <message>
        <source>The SVG cannot be read</source>
        <translation>SVG 無法讀取</translation>
    </message>
</context>
<context>
    <name>PrintModule</name>
    <message>
        <source>The print and SVG module cannot be loaded: %1</source>
        <translation>無法載入列印與 SVG 模組：%1</translation>
    </message>
    <message>
        <source>The print and SVG module %1 is not this program&apos;s</source>
        <translation>列印與 SVG 模組 %1 不是這個程式的版本</translation>
    </message>
    <message>
        <source>Cannot write the SVG file</source>
        <translation>無法寫入 SVG 檔</translation>
    </message>
    <message>
        <source>The mark is larger than the printable part of the paper; it was scaled down to fit.</source>
        <translation>嘜頭比紙張的可列印範圍大，已依比例縮小到紙張大小。</translation>
    </message>
    <message>
        <source>Print preview</source>
        <translation>預覽列印</translation>
    </message>
    <message>
        <source>Print</source>
        <translation>列印</translation>
    </message>
</context>
<context>
    <name>Questions</name>
    <message>
        <source>Yes</source>
        <translation>是</translation>
    </message>
    <message>
        <source>No</source>
        <translation>否</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>Overwrite</source>
        <translation>覆蓋</translation>
    </message>
    <message>
        <source>Load theirs</source>
        <translation>載入對方的設定</translation>
    </message>
</context>
<context>
    <name>Reader</name>
    <message>
        <source>Stream nesting too deep</source>
        <translation>資料的層次太深</translation>
    </message>
    <message>
        <source>Stream read error</source>
        <translation>資料讀取錯誤</translation>
    </message>
    <message>
        <source>Invalid stream format: length past the end</source>
        <translation>資料格式錯誤：長度超過資料結尾</translation>
    </message>
    <message>
        <source>Invalid stream format: unknown value type %1</source>
        <translation>資料格式錯誤：不認得的值類型 %1</translation>
    </message>
    <message>
        <source>Invalid stream format: end of list expected</source>
        <translation>資料格式錯誤：這裡應該是清單的結尾</translation>
    </message>
    <message>
        <source>Invalid stream format</source>
        <translation>資料格式錯誤</translation>
    </message>
    <message>
        <source>Invalid stream format: child position expected</source>
        <translation>資料格式錯誤：這裡應該是子物件的位置</translation>
    </message>
    <message>
        <source>Invalid property value</source>
        <translation>屬性值不正確</translation>
    </message>
    <message>
        <source>Property %1 does not exist</source>
        <translation>沒有屬性 %1</translation>
    </message>
    <message>
        <source>Property %1 reaches into another component</source>
        <translation>屬性 %1 指向另一個元件</translation>
    </message>
    <message>
        <source>Error reading %1: %2</source>
        <translation>讀取 %1 時發生錯誤：%2</translation>
    </message>
    <message>
        <source>%1 = %2 lies outside %3 … %4</source>
        <translation>%1 = %2 超出範圍 %3 … %4</translation>
    </message>
    <message>
        <source>Property %1 is read-only</source>
        <translation>屬性 %1 是唯讀的</translation>
    </message>
    <message>
        <source>%1 names the handler %2; this data may bind no event</source>
        <translation>%1 指定了事件處理程序 %2；這份資料不能連結事件</translation>
    </message>
    <message>
        <source>Invalid stream format: collection item expected</source>
        <translation>資料格式錯誤：這裡應該是集合的項目</translation>
    </message>
    <message>
        <source>Class %1 may not be read here; this data may hold nothing</source>
        <translation>這裡不能讀取類別 %1；這份資料不能包含任何物件</translation>
    </message>
    <message>
        <source>Class %1 may not be read here; this data may hold only %2</source>
        <translation>這裡不能讀取類別 %1；這份資料只能包含 %2</translation>
    </message>
    <message>
        <source>Class %1 not found</source>
        <translation>找不到類別 %1</translation>
    </message>
    <message>
        <source>Class %1 is not a component class</source>
        <translation>類別 %1 不是元件類別</translation>
    </message>
    <message>
        <source>The record of %1 would change a component that exists already</source>
        <translation>%1 的資料會改變一個已經存在的元件</translation>
    </message>
    <message>
        <source>Ancestor for &apos;%1&apos; not found</source>
        <translation>找不到 %1 的上層元件</translation>
    </message>
    <message>
        <source>Invalid stream format: inherited component %1 out of place</source>
        <translation>資料格式錯誤：繼承的元件 %1 位置不對</translation>
    </message>
    <message>
        <source>%1 holds the records of other components</source>
        <translation>%1 包含了其他元件的資料</translation>
    </message>
    <message>
        <source>A reference names %1, which is not part of this data</source>
        <translation>參照指向 %1，但它不在這份資料中</translation>
    </message>
</context>
<context>
    <name>Shipments</name>
    <message>
        <source>Table or view %1 does not exist in database %2</source>
        <translation>資料庫 %2 中沒有資料表或檢視 %1</translation>
    </message>
    <message>
        <source>Cannot read the shipments of customer %1: %2</source>
        <translation>無法讀取客戶 %1 的出貨資料：%2</translation>
    </message>
</context>
<context>
    <name>Steps</name>
    <message>
        <source>Change %1</source>
        <translation>修改 %1</translation>
    </message>
    <message>
        <source>Resize</source>
        <translation>調整大小</translation>
    </message>
    <message>
        <source>Change</source>
        <translation>變更</translation>
    </message>
    <message>
        <source>Move</source>
        <translation>移動</translation>
    </message>
    <message>
        <source>Add</source>
        <translation>新增</translation>
    </message>
    <message>
        <source>Cut</source>
        <translation>剪下</translation>
    </message>
    <message>
        <source>Paste</source>
        <translation>貼上</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>刪除</translation>
    </message>
</context>
<context>
    <name>Stream</name>
    <message>
        <source>Stream read error</source>
        <translation>資料讀取錯誤</translation>
    </message>
    <message>
        <source>Stream write error</source>
        <translation>資料寫入錯誤</translation>
    </message>
    <message>
        <source>Cannot open file &quot;%1&quot;</source>
        <translation>無法開啟檔案「%1」</translation>
    </message>
    <message>
        <source>Cannot read file &quot;%1&quot;</source>
        <translation>無法讀取檔案「%1」</translation>
    </message>
    <message>
        <source>Cannot create file &quot;%1&quot;</source>
        <translation>無法建立檔案「%1」</translation>
    </message>
</context>
<context>
    <name>Table</name>
    <message>
        <source>Table or view %1 does not exist in database %2</source>
        <translation>資料庫 %2 中沒有資料表或檢視 %1</translation>
    </message>
</context>
<context>
    <name>TextForm</name>
    <message>
        <source>Invalid stream format at offset %1: %2</source>
        <translation>資料格式錯誤（位置 %1）：%2</translation>
    </message>
    <message>
        <source>Line %1: %2</source>
        <translation>第 %1 行：%2</translation>
    </message>
</context>
</TS>
