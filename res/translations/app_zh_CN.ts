<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>CAtomicFile</name>
    <message>
        <location filename="../../base/AtomicFile.cpp" line="26"/>
        <source>No file name.</source>
        <translation>没有文件名。</translation>
    </message>
</context>
<context>
    <name>CIniFile</name>
    <message>
        <location filename="../../base/IniFile.cpp" line="233"/>
        <source>A folder has that name.</source>
        <translation>已有同名的文件夹。</translation>
    </message>
    <message>
        <location filename="../../base/IniFile.cpp" line="255"/>
        <source>No file name.</source>
        <translation>没有文件名。</translation>
    </message>
    <message>
        <location filename="../../base/IniFile.cpp" line="237"/>
        <location filename="../../base/IniFile.cpp" line="260"/>
        <source>The file could not be read, so it is not replaced.</source>
        <translation>无法读取该文件，因此不替换它。</translation>
    </message>
</context>
<context>
    <name>CLiveController</name>
    <message>
        <location filename="../../app/LiveController.cpp" line="255"/>
        <source>The camera does not offer the saved video size %1 X %2; it shows %3 X %4 instead.</source>
        <translation>摄像头不提供已保存的视频尺寸 %1 X %2，改用 %3 X %4。</translation>
    </message>
    <message>
        <location filename="../../app/LiveController.cpp" line="270"/>
        <location filename="../../app/LiveController.cpp" line="337"/>
        <location filename="../../app/LiveController.cpp" line="342"/>
        <source>Camera disconnected</source>
        <translation>相机已断开</translation>
    </message>
    <message>
        <location filename="../../app/LiveController.cpp" line="337"/>
        <source>The camera stopped: %1</source>
        <translation>相机已停止：%1</translation>
    </message>
    <message>
        <location filename="../../app/LiveController.cpp" line="364"/>
        <source>The camera&apos;s snapshot button cannot be read (%1: %2).

To use it, install the udev rule that comes with Kalvex (70-kalvex-camera-button.rules) and plug the camera in again, or add yourself to the &quot;input&quot; group.</source>
        <translation>无法读取相机的拍照按钮（%1：%2）。

要使用它，请安装 Kalvex 附带的 udev 规则（70-kalvex-camera-button.rules）并重新插入相机，或将自己加入 "input" 组。</translation>
    </message>
</context>
<context>
    <name>CPictureController</name>
    <message>
        <location filename="../../app/PictureController.cpp" line="56"/>
        <source>Store the picture&apos;s scale</source>
        <translation>保存图片的比例</translation>
    </message>
    <message>
        <location filename="../../app/PictureController.cpp" line="57"/>
        <source>The scale this picture carries (%1) goes into:</source>
        <translation>此图片带有的比例（%1）保存到：</translation>
    </message>
    <message>
        <location filename="../../app/PictureController.cpp" line="83"/>
        <source>The picture %1 cannot be opened:
%2</source>
        <translation>无法打开图片 %1：
%2</translation>
    </message>
    <message>
        <location filename="../../app/PictureController.cpp" line="231"/>
        <source>The new resolution has another shape than the old one. The drawing was scaled by the width and centred; it may no longer lie over the same features.</source>
        <translation>新分辨率的宽高比与原来的不同。绘图已按宽度缩放并居中，可能不再覆盖原来的特征。</translation>
    </message>
</context>
<context>
    <name>CSaveSettingDlg</name>
    <message>
        <location filename="../../app/SaveSettingDlg.cpp" line="20"/>
        <source>Save Setting</source>
        <translation>保存设置</translation>
    </message>
    <message>
        <location filename="../../app/SaveSettingDlg.cpp" line="23"/>
        <source>Save path</source>
        <translation>保存路径</translation>
    </message>
    <message>
        <location filename="../../app/SaveSettingDlg.cpp" line="28"/>
        <source>Select</source>
        <translation>选择</translation>
    </message>
    <message>
        <location filename="../../app/SaveSettingDlg.cpp" line="34"/>
        <source>Save format</source>
        <translation>保存格式</translation>
    </message>
    <message>
        <location filename="../../app/SaveSettingDlg.cpp" line="35"/>
        <source>Bitmap(*.bmp)</source>
        <translation>位图(*.bmp)</translation>
    </message>
    <message>
        <location filename="../../app/SaveSettingDlg.cpp" line="37"/>
        <source>JPEG(*.jpg)</source>
        <translation>JPEG(*.jpg)</translation>
    </message>
    <message>
        <location filename="../../app/SaveSettingDlg.cpp" line="40"/>
        <source>PNG(*.png)</source>
        <translation>PNG(*.png)</translation>
    </message>
    <message>
        <location filename="../../app/SaveSettingDlg.cpp" line="42"/>
        <source>Lossless; carries the calibration in use</source>
        <translation>无损；带有当前使用的标定</translation>
    </message>
    <message>
        <location filename="../../app/SaveSettingDlg.cpp" line="43"/>
        <source>TIFF(*.tif)</source>
        <translation>TIFF(*.tif)</translation>
    </message>
    <message>
        <location filename="../../app/SaveSettingDlg.cpp" line="45"/>
        <source>Lossless; ImageJ and Fiji open it calibrated</source>
        <translation>无损；ImageJ 和 Fiji 打开时即已标定</translation>
    </message>
    <message>
        <location filename="../../app/SaveSettingDlg.cpp" line="62"/>
        <source>OK</source>
        <translation>确定</translation>
    </message>
    <message>
        <location filename="../../app/SaveSettingDlg.cpp" line="63"/>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <location filename="../../app/SaveSettingDlg.cpp" line="81"/>
        <source>Select Path:</source>
        <translation>选择路径：</translation>
    </message>
</context>
<context>
    <name>CSingleInstance</name>
    <message>
        <location filename="../../app/SingleInstance.cpp" line="51"/>
        <source>Kalvex already runs (process %1) but does not answer.</source>
        <translation>Kalvex 已在运行（进程 %1），但没有响应。</translation>
    </message>
    <message>
        <location filename="../../app/SingleInstance.cpp" line="58"/>
        <source>The instance lock %1 cannot be made (%2): this Kalvex runs without looking for another one.</source>
        <translation>无法创建实例锁 %1（%2）：本 Kalvex 将在不检查其他实例的情况下运行。</translation>
    </message>
    <message>
        <location filename="../../app/SingleInstance.cpp" line="94"/>
        <source>the lock file cannot be replaced</source>
        <translation>无法替换锁文件</translation>
    </message>
    <message>
        <location filename="../../app/SingleInstance.cpp" line="95"/>
        <source>unknown reason</source>
        <translation>原因不明</translation>
    </message>
</context>
<context>
    <name>CTavoMeasureDlg</name>
    <message>
        <location filename="../../app/TavoMeasureDlg.cpp" line="89"/>
        <source>Kalvex Light</source>
        <translation>Kalvex Light 显微测量</translation>
    </message>
    <message>
        <location filename="../../app/TavoMeasureDlg.cpp" line="101"/>
        <source>Hide the side panel</source>
        <translation>隐藏侧边栏</translation>
    </message>
    <message>
        <location filename="../../app/TavoMeasureDlg.cpp" line="103"/>
        <source>Show the side panel</source>
        <translation>显示侧边栏</translation>
    </message>
    <message>
        <location filename="../../app/TavoMeasureDlg.cpp" line="105"/>
        <source>Show the thumbnails</source>
        <translation>显示缩略图</translation>
    </message>
    <message>
        <location filename="../../app/TavoMeasureDlg.cpp" line="107"/>
        <source>Hide the thumbnails</source>
        <translation>隐藏缩略图</translation>
    </message>
    <message>
        <location filename="../../app/TavoMeasureDlg.cpp" line="170"/>
        <source>The settings cannot be saved to
%1

%2

Changes made now are lost when Kalvex closes.</source>
        <translation>设置无法保存到
%1

%2

现在所做的更改将在 Kalvex 关闭时丢失。</translation>
    </message>
    <message>
        <location filename="../../app/TavoMeasureDlg.cpp" line="196"/>
        <source>The settings could not be written to
%1

%2</source>
        <translation>无法将设置写入
%1

%2</translation>
    </message>
    <message>
        <location filename="../../app/TavoMeasureDlg.cpp" line="814"/>
        <source>Already having one instance running!</source>
        <translation>程序已经在运行！</translation>
    </message>
    <message>
        <location filename="../../app/TavoMeasureDlg.cpp" line="829"/>
        <source>About Kalvex</source>
        <translation>关于 Kalvex</translation>
    </message>
    <message>
        <location filename="../../app/TavoMeasureDlg.cpp" line="830"/>
        <source>&lt;b&gt;Kalvex Light&lt;/b&gt; %1&lt;br&gt;Live picture, measurement and focus stacking for USB microscopes.</source>
        <translation>&lt;b&gt;Kalvex Light&lt;/b&gt; %1&lt;br&gt;USB 显微镜的实时画面、测量与景深合成。</translation>
    </message>
</context>
</TS>
