<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>CColorSettingDlg</name>
    <message>
        <location filename="../../app/ColorSettingDlg.cpp" line="54"/>
        <source>Color Setting</source>
        <translation>颜色设置</translation>
    </message>
    <message>
        <location filename="../../app/ColorSettingDlg.cpp" line="56"/>
        <source>Grid</source>
        <translation>网格</translation>
    </message>
    <message>
        <location filename="../../app/ColorSettingDlg.cpp" line="57"/>
        <source>Ruler</source>
        <translation>标尺</translation>
    </message>
    <message>
        <location filename="../../app/ColorSettingDlg.cpp" line="58"/>
        <source>Scale</source>
        <translation>比例尺</translation>
    </message>
    <message>
        <location filename="../../app/ColorSettingDlg.cpp" line="66"/>
        <location filename="../../app/ColorSettingDlg.cpp" line="67"/>
        <location filename="../../app/ColorSettingDlg.cpp" line="339"/>
        <source>Color</source>
        <translation>颜色</translation>
    </message>
    <message>
        <location filename="../../app/ColorSettingDlg.cpp" line="101"/>
        <source>X style</source>
        <translation>X 样式</translation>
    </message>
    <message>
        <location filename="../../app/ColorSettingDlg.cpp" line="101"/>
        <source>X-Y style</source>
        <translation>X-Y 样式</translation>
    </message>
    <message>
        <location filename="../../app/ColorSettingDlg.cpp" line="105"/>
        <source>TopLeft</source>
        <translation>左上</translation>
    </message>
    <message>
        <location filename="../../app/ColorSettingDlg.cpp" line="105"/>
        <source>BottomLeft</source>
        <translation>左下</translation>
    </message>
    <message>
        <location filename="../../app/ColorSettingDlg.cpp" line="105"/>
        <source>TopRight</source>
        <translation>右上</translation>
    </message>
    <message>
        <location filename="../../app/ColorSettingDlg.cpp" line="105"/>
        <source>BottomRight</source>
        <translation>右下</translation>
    </message>
    <message>
        <location filename="../../app/ColorSettingDlg.cpp" line="108"/>
        <source>OK</source>
        <translation>确定</translation>
    </message>
    <message>
        <location filename="../../app/ColorSettingDlg.cpp" line="114"/>
        <source>Show grid</source>
        <translation>显示网格</translation>
    </message>
    <message>
        <location filename="../../app/ColorSettingDlg.cpp" line="116"/>
        <source>Show ruler</source>
        <translation>显示标尺</translation>
    </message>
    <message>
        <location filename="../../app/ColorSettingDlg.cpp" line="118"/>
        <source>Line Color_Size</source>
        <translation>线条颜色_粗细</translation>
    </message>
    <message>
        <location filename="../../app/ColorSettingDlg.cpp" line="121"/>
        <source>Text Color_Font</source>
        <translation>文字颜色_字体</translation>
    </message>
    <message>
        <location filename="../../app/ColorSettingDlg.cpp" line="123"/>
        <source>Grid Color_Unit</source>
        <translation>网格颜色_单位</translation>
    </message>
    <message>
        <location filename="../../app/ColorSettingDlg.cpp" line="126"/>
        <source>Ruler Color_Unit</source>
        <translation>标尺颜色_单位</translation>
    </message>
    <message>
        <location filename="../../app/ColorSettingDlg.cpp" line="141"/>
        <source>Show scale</source>
        <translation>显示比例尺</translation>
    </message>
    <message>
        <location filename="../../app/ColorSettingDlg.cpp" line="142"/>
        <source>X length</source>
        <translation>X 长度</translation>
    </message>
    <message>
        <location filename="../../app/ColorSettingDlg.cpp" line="143"/>
        <source>Y length</source>
        <translation>Y 长度</translation>
    </message>
    <message>
        <location filename="../../app/ColorSettingDlg.cpp" line="144"/>
        <source>Type</source>
        <translation>类型</translation>
    </message>
    <message>
        <location filename="../../app/ColorSettingDlg.cpp" line="145"/>
        <source>Position</source>
        <translation>位置</translation>
    </message>
    <message>
        <location filename="../../app/ColorSettingDlg.cpp" line="329"/>
        <source>Font</source>
        <translation>字体</translation>
    </message>
</context>
<context>
    <name>CCrossLineDlg</name>
    <message>
        <location filename="../../measure/CrossLineDlg.cpp" line="25"/>
        <source>Cross line</source>
        <translation>十字线</translation>
    </message>
    <message>
        <location filename="../../measure/CrossLineDlg.cpp" line="27"/>
        <source>Add</source>
        <translation>添加</translation>
    </message>
    <message>
        <location filename="../../measure/CrossLineDlg.cpp" line="29"/>
        <source>Sub</source>
        <translation>删除</translation>
    </message>
    <message>
        <location filename="../../measure/CrossLineDlg.cpp" line="35"/>
        <source>Show line</source>
        <translation>显示线条</translation>
    </message>
    <message>
        <location filename="../../measure/CrossLineDlg.cpp" line="51"/>
        <source>Solid line</source>
        <translation>实线</translation>
    </message>
    <message>
        <location filename="../../measure/CrossLineDlg.cpp" line="52"/>
        <source>Dash line</source>
        <translation>虚线</translation>
    </message>
    <message>
        <location filename="../../measure/CrossLineDlg.cpp" line="58"/>
        <location filename="../../measure/CrossLineDlg.cpp" line="87"/>
        <source>Color</source>
        <translation>颜色</translation>
    </message>
    <message>
        <location filename="../../measure/CrossLineDlg.cpp" line="79"/>
        <source>X (pixels)</source>
        <translation>X（像素）</translation>
    </message>
    <message>
        <location filename="../../measure/CrossLineDlg.cpp" line="80"/>
        <source>X (%1)</source>
        <translation>X（%1）</translation>
    </message>
    <message>
        <location filename="../../measure/CrossLineDlg.cpp" line="81"/>
        <source>Y (pixels)</source>
        <translation>Y（像素）</translation>
    </message>
    <message>
        <location filename="../../measure/CrossLineDlg.cpp" line="82"/>
        <source>Y (%1)</source>
        <translation>Y（%1）</translation>
    </message>
    <message>
        <location filename="../../measure/CrossLineDlg.cpp" line="83"/>
        <source>Type</source>
        <translation>类型</translation>
    </message>
    <message>
        <location filename="../../measure/CrossLineDlg.cpp" line="85"/>
        <source>Size</source>
        <translation>粗细</translation>
    </message>
    <message>
        <location filename="../../measure/CrossLineDlg.cpp" line="108"/>
        <location filename="../../measure/CrossLineDlg.cpp" line="178"/>
        <source>Crossline %1</source>
        <translation>十字线 %1</translation>
    </message>
</context>
<context>
    <name>CInputDlg</name>
    <message>
        <location filename="../../tools/InputDlg.cpp" line="13"/>
        <source>Input </source>
        <translation>输入 </translation>
    </message>
    <message>
        <location filename="../../tools/InputDlg.cpp" line="18"/>
        <source>OK</source>
        <translation>确定</translation>
    </message>
    <message>
        <location filename="../../tools/InputDlg.cpp" line="21"/>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
</context>
<context>
    <name>CTextsManagerDlg</name>
    <message>
        <location filename="../../tools/TextsManagerDlg.cpp" line="24"/>
        <source>Texts Manager</source>
        <translation>文字管理</translation>
    </message>
    <message>
        <location filename="../../tools/TextsManagerDlg.cpp" line="28"/>
        <source>No.</source>
        <translation>序号</translation>
    </message>
    <message>
        <location filename="../../tools/TextsManagerDlg.cpp" line="28"/>
        <source>Text Content</source>
        <translation>文字内容</translation>
    </message>
    <message>
        <location filename="../../tools/TextsManagerDlg.cpp" line="46"/>
        <source>Modify</source>
        <translation>修改</translation>
    </message>
    <message>
        <location filename="../../tools/TextsManagerDlg.cpp" line="48"/>
        <source>Delete</source>
        <translation>删除</translation>
    </message>
    <message>
        <location filename="../../tools/TextsManagerDlg.cpp" line="50"/>
        <source>OK</source>
        <translation>确定</translation>
    </message>
    <message>
        <location filename="../../tools/TextsManagerDlg.cpp" line="95"/>
        <source>Please select one item first.</source>
        <translation>请先选择一项。</translation>
    </message>
    <message>
        <location filename="../../tools/TextsManagerDlg.cpp" line="96"/>
        <source>Hint</source>
        <translation>提示</translation>
    </message>
    <message>
        <location filename="../../tools/TextsManagerDlg.cpp" line="116"/>
        <source>Are you going to delete all text annotations?</source>
        <translation>确定要删除所有文字标注吗？</translation>
    </message>
    <message>
        <location filename="../../tools/TextsManagerDlg.cpp" line="117"/>
        <source>Warnning</source>
        <translation>警告</translation>
    </message>
</context>
</TS>
