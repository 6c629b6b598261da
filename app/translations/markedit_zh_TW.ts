<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_TW">
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
