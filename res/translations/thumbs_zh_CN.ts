<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>CImageListWnd</name>
    <message>
        <location filename="../../image/ImageListWnd.cpp" line="380"/>
        <source>Display</source>
        <translation>显示</translation>
    </message>
    <message>
        <location filename="../../image/ImageListWnd.cpp" line="381"/>
        <location filename="../../image/ImageListWnd.cpp" line="386"/>
        <location filename="../../image/ImageListWnd.cpp" line="436"/>
        <source>Remove</source>
        <translation>删除</translation>
    </message>
    <message>
        <location filename="../../image/ImageListWnd.cpp" line="384"/>
        <source>Open</source>
        <translation>打开</translation>
    </message>
    <message>
        <location filename="../../image/ImageListWnd.cpp" line="385"/>
        <source>Open Folder</source>
        <translation>打开文件夹</translation>
    </message>
    <message>
        <location filename="../../image/ImageListWnd.cpp" line="432"/>
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
</TS>
