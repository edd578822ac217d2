#include "settings/help_texts.h"

#include "common/shared_files.h"

#include <QDir>

namespace skyloom {

QStringList mapUsageLines()
{
    return {
        QStringLiteral("使用法(描画までの手順)"),
        QString(),
        QStringLiteral("1. 地図範囲の選択"),
        QStringLiteral(" 始点をクリックします。"),
        QStringLiteral(" 終点をクリックします。"),
        QStringLiteral(" (地図1枚の場合は2度クリックします。)"),
        QStringLiteral(" 選択された範囲が緑で塗りつぶされます。"),
        QStringLiteral(" (地図を上下左右に移動させるにはカーソルキーを用います。)"),
        QString(),
        QStringLiteral("2. 描画"),
        QStringLiteral(" 以下の3つの方法があります。"),
        QStringLiteral(" (1)[実行][描画]メニューをクリックします。"),
        QStringLiteral(" (2)キーボードのF5を押します。"),
        QStringLiteral(" (3)右クリックで[描画]メニューをクリックします。"),
        QStringLiteral(" 読み込み中は地図の下端に読み込んでいるファイルが表示されます。"),
        QString(),
        QStringLiteral("3. 地図の移動"),
        QStringLiteral(" カーソルキー、マウスホイール(Shift+ホイールで左右)、"),
        QStringLiteral(" 中ボタンのドラッグで地図を動かします。"),
        QStringLiteral(" [実行][移動](Ctrl+G)で図葉コード(533946など)または"),
        QStringLiteral(" 緯度,経度(35.36,138.73など)の場所へ移動します。"),
        QString(),
        QStringLiteral("4. DEMデータ([設定][設定...])"),
        QStringLiteral(" 50m/250m: 数値地図50m/250mメッシュ(標高)"),
        QStringLiteral(" 10m/5m(基盤地図): 基盤地図情報 数値標高モデルのZIPまたはXML"),
        QStringLiteral("  (50mと同じ図葉で選びます。5mのない所は10mで補います。)"),
        QStringLiteral(" SRTM/ラスタ: SRTM3の.hgtタイル(0.5度の区画で選びます。)"),
        QStringLiteral("  .hgtのないフォルダのGeoTIFFなどはGDALで読みます。"),
        QStringLiteral(" データのある図葉・区画は薄い橙色で示されます。"),
        QStringLiteral(" データセットを切り替えると、選択範囲は同じ場所を覆う"),
        QStringLiteral(" 新しい地図の範囲になります。"),
    };
}

QStringList viewerUsageLines()
{
    // Keys are padded to 17 display columns, a full-width character counting
    // two; the mouse lines use one ideographic space (U+3000).
    const QString separator(28, u'-');
    return {
        QStringLiteral("描画使用法"),
        QString(),
        QStringLiteral("キーボード"),
        separator,
        QStringLiteral("q/ESC            終了"),
        QStringLiteral("z/Shift+z        前進/後退"),
        QStringLiteral("←→             左右方向転換"),
        QStringLiteral("↑↓             上下高度変更"),
        QStringLiteral("Shift+↑↓       上下視界変更"),
        QStringLiteral("t                真上から見る"),
        QStringLiteral("h                色を標高で補間しない/する"),
        QStringLiteral("m                山名を表示する/しない"),
        QStringLiteral("n/Shift+n/Ctrl+n 解像度下げる/上げる/初期化"),
        QStringLiteral("x/Shift+x/Ctrl+x 加速x2/減速x1/2/初期化"),
        QStringLiteral("r/Shift+r/Ctrl+r 表示範囲縮小/拡大/初期化"),
        QStringLiteral("s/Shift+s/Ctrl+s 明るさ上/下/初期化"),
        QStringLiteral("b/Shift+b/Ctrl+b 望遠/広角/初期化"),
        QStringLiteral("スペース         すべて初期化"),
        QString(),
        QStringLiteral("マウスドラッグ"),
        separator,
        QStringLiteral("左右\u3000方向転換"),
        QStringLiteral("上下\u3000高度変更"),
        QString(),
        QStringLiteral("Shift+マウスドラッグ"),
        separator,
        QStringLiteral("左右\u3000太陽の位置を西<->東に変える"),
        QStringLiteral("上下\u3000太陽の向きを上下する(0-90度)"),
        QString(),
        QStringLiteral("いくつかの操作はマウス右クリックでもできます。"),
        QStringLiteral("()内が対応するキーボードです。"),
        QString(),
        QStringLiteral("そのほかの操作"),
        separator,
        QStringLiteral("p                見ている画面を画像(orvex-日付-時刻.png)に保存"),
        QStringLiteral("マウスホイール   前進/後退(z/Shift+z)"),
        QStringLiteral("ウィンドウの題名に視点の緯度経度・高度・方位・速度を表示します。"),
    };
}

QStringList versionLines()
{
    return {
        QStringLiteral("Skyloom"),
        QStringLiteral("Ver.%1.%2").arg(common::fileVersionMajor).arg(common::fileVersionMinor),
        QStringLiteral("Copyright (C) 2026 the Skyloom and Orvex developers."),
        QStringLiteral("Coastline of the map: GSHHG."),
    };
}

QString joinedLines(const QStringList& lines)
{
    return lines.join(u'\n');
}

QUrl readmeUrl()
{
    return QUrl::fromLocalFile(QDir::current().absoluteFilePath(QStringLiteral("readme.txt")));
}

QString readmeFailureText()
{
    return QStringLiteral("readme.txt を開くアプリケーションがありません。");
}

} // namespace skyloom
