<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>CCalibrationDlg</name>
    <message>
        <location filename="../../calibration/CalibrationDlg.cpp" line="41"/>
        <source>Calibration </source>
        <translation>校准 </translation>
    </message>
    <message>
        <location filename="../../calibration/CalibrationDlg.cpp" line="65"/>
        <source>for example 10x objective</source>
        <translation>例如 10x 物镜</translation>
    </message>
    <message>
        <location filename="../../calibration/CalibrationDlg.cpp" line="69"/>
        <source>From line...</source>
        <translation>从直线...</translation>
    </message>
    <message>
        <location filename="../../calibration/CalibrationDlg.cpp" line="72"/>
        <source>Set the scale from the selected or last drawn line or circle and its known length</source>
        <translation>用选中的或最后画的直线或圆及其已知长度设定比例</translation>
    </message>
    <message>
        <location filename="../../calibration/CalibrationDlg.cpp" line="74"/>
        <source>From ruler...</source>
        <translation>从标尺...</translation>
    </message>
    <message>
        <location filename="../../calibration/CalibrationDlg.cpp" line="77"/>
        <source>Set the scale from a stage micrometer in the picture and the spacing of its divisions</source>
        <translation>根据图片中的载物台测微尺及其分格间距设置比例</translation>
    </message>
    <message>
        <location filename="../../calibration/CalibrationDlg.cpp" line="96"/>
        <source>Auto</source>
        <translation>自动</translation>
    </message>
    <message>
        <location filename="../../calibration/CalibrationDlg.cpp" line="98"/>
        <source>Auto circle size</source>
        <translation>自动圆尺寸</translation>
    </message>
    <message>
        <location filename="../../calibration/CalibrationDlg.cpp" line="107"/>
        <source>Reset</source>
        <translation>重置</translation>
    </message>
    <message>
        <location filename="../../calibration/CalibrationDlg.cpp" line="110"/>
        <source>OK</source>
        <translation>确定</translation>
    </message>
    <message>
        <location filename="../../calibration/CalibrationDlg.cpp" line="113"/>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <location filename="../../calibration/CalibrationDlg.cpp" line="119"/>
        <source>Calibration</source>
        <translation>校准</translation>
    </message>
    <message>
        <location filename="../../calibration/CalibrationDlg.cpp" line="121"/>
        <source>Name</source>
        <translation>名称</translation>
    </message>
    <message>
        <location filename="../../calibration/CalibrationDlg.cpp" line="123"/>
        <source>X</source>
        <translation>X</translation>
    </message>
    <message>
        <location filename="../../calibration/CalibrationDlg.cpp" line="125"/>
        <source>Y</source>
        <translation>Y</translation>
    </message>
    <message>
        <location filename="../../calibration/CalibrationDlg.cpp" line="127"/>
        <source>Unit</source>
        <translation>单位</translation>
    </message>
    <message>
        <location filename="../../calibration/CalibrationDlg.cpp" line="184"/>
        <source>X: %1%2/pixel  Y: %3%4/pixel</source>
        <translation>X: %1%2/像素  Y: %3%4/像素</translation>
    </message>
    <message>
        <location filename="../../calibration/CalibrationDlg.cpp" line="275"/>
        <source>Made at %1 X %2, scaled to %3 X %4 by width: the picture has another shape, so the calibration may not apply.</source>
        <translation>在 %1 X %2 下校准，按宽度换算到 %3 X %4：画面宽高比不同，校准可能不适用。</translation>
    </message>
    <message>
        <location filename="../../calibration/CalibrationDlg.cpp" line="282"/>
        <source>Made at %1 X %2, scaled to %3 X %4.</source>
        <translation>在 %1 X %2 下校准，已换算到 %3 X %4。</translation>
    </message>
    <message>
        <location filename="../../calibration/CalibrationDlg.cpp" line="288"/>
        <source>Made at %1 X %2.</source>
        <translation>在 %1 X %2 下校准。</translation>
    </message>
    <message>
        <location filename="../../calibration/CalibrationDlg.cpp" line="308"/>
        <source>Draw or select a line or a circle across something of known size first.</source>
        <translation>请先在已知尺寸的物体上画出或选中一条直线或一个圆。</translation>
    </message>
    <message>
        <location filename="../../calibration/CalibrationDlg.cpp" line="328"/>
        <location filename="../../calibration/CalibrationDlg.cpp" line="367"/>
        <source>Enter a length greater than 0.</source>
        <translation>请输入大于 0 的长度。</translation>
    </message>
    <message>
        <location filename="../../calibration/CalibrationDlg.cpp" line="342"/>
        <source>There is no picture to read a ruler from.</source>
        <translation>没有可读取标尺的图片。</translation>
    </message>
    <message>
        <location filename="../../calibration/CalibrationDlg.cpp" line="351"/>
        <source>Reading a ruler is not available.</source>
        <translation>无法读取标尺。</translation>
    </message>
    <message>
        <location filename="../../calibration/CalibrationDlg.cpp" line="508"/>
        <source>Unit must be set mm!</source>
        <translation>单位必须设为 mm！</translation>
    </message>
    <message>
        <location filename="../../calibration/CalibrationDlg.cpp" line="531"/>
        <source>It does not calibrate automatically with the previewing image.</source>
        <translation>无法用当前预览图像自动校准。</translation>
    </message>
    <message>
        <location filename="../../calibration/CalibrationDlg.cpp" line="570"/>
        <source>Please enter a number.</source>
        <translation>请输入一个数字。</translation>
    </message>
</context>
<context>
    <name>CCalibrationStatus</name>
    <message>
        <location filename="../../calibration/CalibrationStatus.cpp" line="21"/>
        <source>not calibrated, in pixels</source>
        <translation>未校准，以像素计</translation>
    </message>
    <message>
        <location filename="../../calibration/CalibrationStatus.cpp" line="25"/>
        <source>%1 %2/pixel</source>
        <translation>%1 %2/像素</translation>
    </message>
    <message>
        <location filename="../../calibration/CalibrationStatus.cpp" line="26"/>
        <source>%1 x %2 %3/pixel</source>
        <translation>%1 x %2 %3/像素</translation>
    </message>
    <message>
        <location filename="../../calibration/CalibrationStatus.cpp" line="34"/>
        <source>scaled from %1 by width; the picture has another shape, so the calibration may not apply</source>
        <translation>按宽度从 %1 换算；画面宽高比不同，校准可能不适用</translation>
    </message>
    <message>
        <location filename="../../calibration/CalibrationStatus.cpp" line="37"/>
        <source>scaled from %1</source>
        <translation>从 %1 换算</translation>
    </message>
    <message>
        <location filename="../../calibration/CalibrationStatus.cpp" line="43"/>
        <source>Calibration %1</source>
        <translation>校准 %1</translation>
    </message>
    <message>
        <location filename="../../calibration/CalibrationStatus.cpp" line="44"/>
        <source>Calibration %1: %2</source>
        <translation>校准 %1：%2</translation>
    </message>
    <message>
        <location filename="../../calibration/CalibrationStatus.cpp" line="51"/>
        <source>Scale from file: %1</source>
        <translation>比例来自文件：%1</translation>
    </message>
    <message>
        <location filename="../../calibration/CalibrationStatus.cpp" line="54"/>
        <source>Scale of calibration %1: %2</source>
        <translation>校准 %1 的比例：%2</translation>
    </message>
    <message>
        <location filename="../../calibration/CalibrationStatus.cpp" line="56"/>
        <source>, %1</source>
        <translation>，%1</translation>
    </message>
</context>
<context>
    <name>CFromRulerDlg</name>
    <message>
        <location filename="../../calibration/FromRulerDlg.cpp" line="34"/>
        <source>Scale from Ruler</source>
        <translation>从标尺设置比例</translation>
    </message>
    <message>
        <location filename="../../calibration/FromRulerDlg.cpp" line="35"/>
        <source>Read along the drawn line only</source>
        <translation>只沿所画的直线读取</translation>
    </message>
    <message>
        <location filename="../../calibration/FromRulerDlg.cpp" line="40"/>
        <source>Draw a line along the divisions to read only there</source>
        <translation>沿分格画一条直线，即只在该处读取</translation>
    </message>
    <message>
        <location filename="../../calibration/FromRulerDlg.cpp" line="46"/>
        <source>for example 10</source>
        <translation>例如 10</translation>
    </message>
    <message>
        <location filename="../../calibration/FromRulerDlg.cpp" line="66"/>
        <source>One division</source>
        <translation>每格间距</translation>
    </message>
    <message>
        <location filename="../../calibration/FromRulerDlg.cpp" line="125"/>
        <source>The divisions are closer than a pixel.</source>
        <translation>分格间距小于一个像素。</translation>
    </message>
    <message>
        <location filename="../../calibration/FromRulerDlg.cpp" line="129"/>
        <source>%1 divisions, period %2 px +- %3 px, angle %4 deg</source>
        <translation>%1 格，周期 %2 像素 ± %3 像素，角度 %4 度</translation>
    </message>
    <message>
        <location filename="../../calibration/FromRulerDlg.cpp" line="136"/>
        <source>No ruling was found.</source>
        <translation>未找到刻度。</translation>
    </message>
    <message>
        <location filename="../../calibration/FromRulerDlg.cpp" line="156"/>
        <source>Enter the spacing of one division.</source>
        <translation>请输入每格的间距。</translation>
    </message>
    <message>
        <location filename="../../calibration/FromRulerDlg.cpp" line="162"/>
        <source>Scale: %1 %2/pixel +- %3</source>
        <translation>比例：%1 %2/像素 ± %3</translation>
    </message>
</context>
<context>
    <name>CResultListCtrl</name>
    <message>
        <location filename="../../measure/ResultListCtrl.cpp" line="18"/>
        <source>No.</source>
        <translation>序号</translation>
    </message>
    <message>
        <location filename="../../measure/ResultListCtrl.cpp" line="18"/>
        <source>Type</source>
        <translation>类型</translation>
    </message>
    <message>
        <location filename="../../measure/ResultListCtrl.cpp" line="18"/>
        <source>Result</source>
        <translation>结果</translation>
    </message>
    <message>
        <location filename="../../measure/ResultListCtrl.cpp" line="18"/>
        <source>Unit</source>
        <translation>单位</translation>
    </message>
    <message>
        <location filename="../../measure/ResultListCtrl.cpp" line="37"/>
        <source>length</source>
        <translation>长度</translation>
    </message>
    <message>
        <location filename="../../measure/ResultListCtrl.cpp" line="38"/>
        <source>degree</source>
        <translation>角度</translation>
    </message>
    <message>
        <location filename="../../measure/ResultListCtrl.cpp" line="39"/>
        <source>acreage</source>
        <translation>面积</translation>
    </message>
    <message>
        <location filename="../../measure/ResultListCtrl.cpp" line="40"/>
        <source>diameter</source>
        <translation>直径</translation>
    </message>
    <message>
        <location filename="../../measure/ResultListCtrl.cpp" line="41"/>
        <source>distance</source>
        <translation>距离</translation>
    </message>
    <message>
        <location filename="../../measure/ResultListCtrl.cpp" line="42"/>
        <source>deg.</source>
        <translation>度</translation>
    </message>
    <message>
        <location filename="../../measure/ResultListCtrl.cpp" line="43"/>
        <source>px</source>
        <translation>像素</translation>
    </message>
    <message>
        <location filename="../../measure/ResultListCtrl.cpp" line="44"/>
        <source>px^2</source>
        <translation>平方像素</translation>
    </message>
    <message>
        <location filename="../../measure/ResultListCtrl.cpp" line="161"/>
        <source>Are you going to delete all measure objects?</source>
        <translation>确定要删除所有测量对象吗？</translation>
    </message>
    <message>
        <location filename="../../measure/ResultListCtrl.cpp" line="161"/>
        <source>Warnning</source>
        <translation>警告</translation>
    </message>
    <message>
        <location filename="../../measure/ResultListCtrl.cpp" line="195"/>
        <source>Cannot create the file %1:
%2</source>
        <translation>无法创建文件 %1：
%2</translation>
    </message>
    <message>
        <location filename="../../measure/ResultListCtrl.cpp" line="215"/>
        <source>Save measurement</source>
        <translation>保存测量结果</translation>
    </message>
    <message>
        <location filename="../../measure/ResultListCtrl.cpp" line="215"/>
        <source>CSV Files(*.csv)</source>
        <translation>CSV 文件(*.csv)</translation>
    </message>
</context>
<context>
    <name>CSetScaleDlg</name>
    <message>
        <location filename="../../calibration/SetScaleDlg.cpp" line="23"/>
        <source>Set Scale</source>
        <translation>设定比例</translation>
    </message>
    <message>
        <location filename="../../calibration/SetScaleDlg.cpp" line="25"/>
        <source>The circle is %1 pixels across.</source>
        <translation>圆的直径为 %1 像素。</translation>
    </message>
    <message>
        <location filename="../../calibration/SetScaleDlg.cpp" line="26"/>
        <source>The line is %1 pixels long.</source>
        <translation>直线长 %1 像素。</translation>
    </message>
    <message>
        <location filename="../../calibration/SetScaleDlg.cpp" line="45"/>
        <source>Known diameter</source>
        <translation>已知直径</translation>
    </message>
    <message>
        <location filename="../../calibration/SetScaleDlg.cpp" line="45"/>
        <source>Known length</source>
        <translation>已知长度</translation>
    </message>
    <message>
        <location filename="../../calibration/SetScaleDlg.cpp" line="46"/>
        <source>Unit</source>
        <translation>单位</translation>
    </message>
    <message>
        <location filename="../../calibration/SetScaleDlg.cpp" line="59"/>
        <source>Enter a length from 1e-9 to 1e9 %1.</source>
        <translation>请输入 1e-9 到 1e9 %1 之间的长度。</translation>
    </message>
    <message>
        <location filename="../../calibration/SetScaleDlg.cpp" line="66"/>
        <source>Enter a number, for example 0.5.</source>
        <translation>请输入一个数字，例如 0.5。</translation>
    </message>
    <message>
        <location filename="../../calibration/SetScaleDlg.cpp" line="67"/>
        <location filename="../../calibration/SetScaleDlg.cpp" line="70"/>
        <source>Enter a length greater than 0.</source>
        <translation>请输入大于 0 的长度。</translation>
    </message>
</context>
</TS>
