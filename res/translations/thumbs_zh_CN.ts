<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>CFileManager</name>
    <message>
        <location filename="../../image/FileManager.cpp" line="30"/>
        <source>No file manager is installed (neither a desktop file manager nor xdg-open was found).</source>
        <translation>没有安装文件管理器（既未找到桌面文件管理器，也未找到 xdg-open）。</translation>
    </message>
    <message>
        <location filename="../../image/FileManager.cpp" line="55"/>
        <source>No program opens folders here (xdg-open ended with %1).</source>
        <translation>这里没有可打开文件夹的程序（xdg-open 以 %1 结束）。</translation>
    </message>
</context>
<context>
    <name>CImageListWnd</name>
    <message>
        <location filename="../../image/ImageListWnd.cpp" line="444"/>
        <source>Display</source>
        <translation>显示</translation>
    </message>
    <message>
        <location filename="../../image/ImageListWnd.cpp" line="445"/>
        <location filename="../../image/ImageListWnd.cpp" line="450"/>
        <location filename="../../image/ImageListWnd.cpp" line="506"/>
        <source>Remove</source>
        <translation>删除</translation>
    </message>
    <message>
        <location filename="../../image/ImageListWnd.cpp" line="448"/>
        <source>Open</source>
        <translation>打开</translation>
    </message>
    <message>
        <location filename="../../image/ImageListWnd.cpp" line="449"/>
        <location filename="../../image/ImageListWnd.cpp" line="475"/>
        <source>Open Folder</source>
        <translation>打开文件夹</translation>
    </message>
    <message>
        <location filename="../../image/ImageListWnd.cpp" line="473"/>
        <source>The folder %1 cannot be shown.

%2</source>
        <translation>无法显示文件夹 %1。

%2</translation>
    </message>
    <message>
        <location filename="../../image/ImageListWnd.cpp" line="505"/>
        <source>The picture could not be removed:
%1</source>
        <translation>无法删除图片：
%1</translation>
    </message>
</context>
<context>
    <name>CThumbViewDlg</name>
    <message>
        <location filename="../../image/ThumbViewDlg.cpp" line="12"/>
        <source>ThumbView</source>
        <translation>缩略图浏览</translation>
    </message>
</context>
<context>
    <name>CxImage</name>
    <message>
        <location filename="../../image/xImage.cpp" line="151"/>
        <source>The file is empty.</source>
        <translation>文件是空的。</translation>
    </message>
    <message>
        <location filename="../../image/xImage.cpp" line="153"/>
        <source>The file is a GIF picture; only BMP, JPEG, PNG and TIFF pictures open.</source>
        <translation>该文件是 GIF 图片；只能打开 BMP、JPEG、PNG 和 TIFF 图片。</translation>
    </message>
    <message>
        <location filename="../../image/xImage.cpp" line="156"/>
        <source>The file is a WebP picture; only BMP, JPEG, PNG and TIFF pictures open.</source>
        <translation>该文件是 WebP 图片；只能打开 BMP、JPEG、PNG 和 TIFF 图片。</translation>
    </message>
    <message>
        <location filename="../../image/xImage.cpp" line="170"/>
        <source>The file holds text, not a picture.</source>
        <translation>该文件是文本，不是图片。</translation>
    </message>
    <message>
        <location filename="../../image/xImage.cpp" line="172"/>
        <source>The content of the file is not a BMP, JPEG, PNG or TIFF picture.</source>
        <translation>该文件的内容不是 BMP、JPEG、PNG 或 TIFF 图片。</translation>
    </message>
</context>
</TS>
