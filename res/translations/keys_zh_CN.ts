<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>CShortcutTable</name>
    <message>
        <location filename="../../app/ShortcutTable.cpp" line="28"/>
        <source>Undo the last change of the drawing</source>
        <translation>撤销对绘图的上一次修改</translation>
    </message>
    <message>
        <location filename="../../app/ShortcutTable.cpp" line="30"/>
        <source>Redo what was undone</source>
        <translation>重做已撤销的修改</translation>
    </message>
    <message>
        <location filename="../../app/ShortcutTable.cpp" line="32"/>
        <source>Remove the selected shape</source>
        <translation>删除选中的图形</translation>
    </message>
    <message>
        <location filename="../../app/ShortcutTable.cpp" line="34"/>
        <source>Cancel the tool in progress</source>
        <translation>取消正在使用的工具</translation>
    </message>
    <message>
        <location filename="../../app/ShortcutTable.cpp" line="36"/>
        <source>Move the selected shape by one picture pixel</source>
        <translation>将选中的图形移动一个图像像素</translation>
    </message>
    <message>
        <location filename="../../app/ShortcutTable.cpp" line="37"/>
        <source>Arrow keys</source>
        <translation>方向键</translation>
    </message>
    <message>
        <location filename="../../app/ShortcutTable.cpp" line="42"/>
        <source>Move the selected shape by ten picture pixels</source>
        <translation>将选中的图形移动十个图像像素</translation>
    </message>
    <message>
        <location filename="../../app/ShortcutTable.cpp" line="44"/>
        <source>Shift+Arrow keys</source>
        <translation>Shift+方向键</translation>
    </message>
    <message>
        <location filename="../../app/ShortcutTable.cpp" line="49"/>
        <source>Copy the picture (with the measurements when &quot;Measure&quot; is on)</source>
        <translation>复制图像（“测量”打开时包含测量结果）</translation>
    </message>
    <message>
        <location filename="../../app/ShortcutTable.cpp" line="52"/>
        <source>Save the picture</source>
        <translation>保存图像</translation>
    </message>
    <message>
        <location filename="../../app/ShortcutTable.cpp" line="54"/>
        <source>Save the picture as</source>
        <translation>图像另存为</translation>
    </message>
    <message>
        <location filename="../../app/ShortcutTable.cpp" line="56"/>
        <source>Take a snapshot, as the camera&apos;s snapshot button does</source>
        <translation>拍照，与相机的拍照按钮相同</translation>
    </message>
    <message>
        <location filename="../../app/ShortcutTable.cpp" line="59"/>
        <source>Switch between live video and still picture</source>
        <translation>在实时视频和静止图像之间切换</translation>
    </message>
    <message>
        <location filename="../../app/ShortcutTable.cpp" line="62"/>
        <source>Zoom in</source>
        <translation>放大</translation>
    </message>
    <message>
        <location filename="../../app/ShortcutTable.cpp" line="64"/>
        <source>Zoom out</source>
        <translation>缩小</translation>
    </message>
    <message>
        <location filename="../../app/ShortcutTable.cpp" line="66"/>
        <source>Fit the picture in the window</source>
        <translation>图像适应窗口</translation>
    </message>
    <message>
        <location filename="../../app/ShortcutTable.cpp" line="68"/>
        <source>Draw line</source>
        <translation>绘制直线</translation>
    </message>
    <message>
        <location filename="../../app/ShortcutTable.cpp" line="70"/>
        <source>Draw three-point angle</source>
        <translation>绘制三点角</translation>
    </message>
    <message>
        <location filename="../../app/ShortcutTable.cpp" line="72"/>
        <source>Draw four-point angle</source>
        <translation>绘制四点角</translation>
    </message>
    <message>
        <location filename="../../app/ShortcutTable.cpp" line="74"/>
        <source>Draw circle</source>
        <translation>绘制圆</translation>
    </message>
    <message>
        <location filename="../../app/ShortcutTable.cpp" line="76"/>
        <source>Draw distance</source>
        <translation>绘制圆心距</translation>
    </message>
    <message>
        <location filename="../../app/ShortcutTable.cpp" line="78"/>
        <source>Draw vertical lines</source>
        <translation>绘制垂线</translation>
    </message>
    <message>
        <location filename="../../app/ShortcutTable.cpp" line="80"/>
        <source>Draw area</source>
        <translation>绘制面积</translation>
    </message>
    <message>
        <location filename="../../app/ShortcutTable.cpp" line="82"/>
        <source>Draw text</source>
        <translation>绘制文字</translation>
    </message>
    <message>
        <location filename="../../app/ShortcutTable.cpp" line="84"/>
        <source>Focus peaking on or off</source>
        <translation>开关峰值对焦</translation>
    </message>
    <message>
        <location filename="../../app/ShortcutTable.cpp" line="86"/>
        <source>Pan the zoomed picture (or use the scroll bars)</source>
        <translation>平移放大的图像（或使用滚动条）</translation>
    </message>
    <message>
        <location filename="../../app/ShortcutTable.cpp" line="88"/>
        <source>Right-drag</source>
        <translation>右键拖动</translation>
    </message>
    <message>
        <location filename="../../app/ShortcutTable.cpp" line="90"/>
        <source>Scroll the zoomed picture up and down, with Shift sideways</source>
        <translation>上下滚动放大的图像，按住 Shift 左右滚动</translation>
    </message>
    <message>
        <location filename="../../app/ShortcutTable.cpp" line="93"/>
        <source>Wheel, Shift+Wheel</source>
        <translation>滚轮，Shift+滚轮</translation>
    </message>
    <message>
        <location filename="../../app/ShortcutTable.cpp" line="95"/>
        <source>Zoom in or out about the pointer</source>
        <translation>以指针为中心放大或缩小</translation>
    </message>
    <message>
        <location filename="../../app/ShortcutTable.cpp" line="96"/>
        <source>Ctrl+Wheel</source>
        <translation>Ctrl+滚轮</translation>
    </message>
</context>
<context>
    <name>CTavoMeasureDlg</name>
    <message>
        <location filename="../../app/TavoMeasureKeys.cpp" line="86"/>
        <source>Zoom in %1, zoom out %2, fit %3</source>
        <translation>放大 %1，缩小 %2，适应窗口 %3</translation>
    </message>
    <message>
        <location filename="../../app/TavoMeasureKeys.cpp" line="194"/>
        <source>&amp;Keyboard shortcuts...</source>
        <translation>键盘快捷键(&amp;K)...</translation>
    </message>
    <message>
        <location filename="../../app/TavoMeasureKeys.cpp" line="200"/>
        <source>Keyboard shortcuts</source>
        <translation>键盘快捷键</translation>
    </message>
</context>
</TS>
