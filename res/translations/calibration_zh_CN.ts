<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>CCalibrationDlg</name>
    <message>
        <location filename="../../calibration/CalibrationDlg.cpp" line="37"/>
        <source>Calibration </source>
        <translation>校准 </translation>
    </message>
    <message>
        <location filename="../../calibration/CalibrationDlg.cpp" line="56"/>
        <source>Calibration %1</source>
        <translation>校准 %1</translation>
    </message>
    <message>
        <location filename="../../calibration/CalibrationDlg.cpp" line="74"/>
        <source>Auto</source>
        <translation>自动</translation>
    </message>
    <message>
        <location filename="../../calibration/CalibrationDlg.cpp" line="76"/>
        <source>Auto circle size</source>
        <translation>自动圆尺寸</translation>
    </message>
    <message>
        <location filename="../../calibration/CalibrationDlg.cpp" line="85"/>
        <source>Reset</source>
        <translation>重置</translation>
    </message>
    <message>
        <location filename="../../calibration/CalibrationDlg.cpp" line="88"/>
        <source>OK</source>
        <translation>确定</translation>
    </message>
    <message>
        <location filename="../../calibration/CalibrationDlg.cpp" line="91"/>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <location filename="../../calibration/CalibrationDlg.cpp" line="96"/>
        <source>Calibration</source>
        <translation>校准</translation>
    </message>
    <message>
        <location filename="../../calibration/CalibrationDlg.cpp" line="98"/>
        <source>X</source>
        <translation>X</translation>
    </message>
    <message>
        <location filename="../../calibration/CalibrationDlg.cpp" line="100"/>
        <source>Y</source>
        <translation>Y</translation>
    </message>
    <message>
        <location filename="../../calibration/CalibrationDlg.cpp" line="102"/>
        <source>Unit</source>
        <translation>单位</translation>
    </message>
    <message>
        <location filename="../../calibration/CalibrationDlg.cpp" line="154"/>
        <source>X: %1%2/pixel  Y: %3%4/pixel</source>
        <translation>X: %1%2/像素  Y: %3%4/像素</translation>
    </message>
    <message>
        <location filename="../../calibration/CalibrationDlg.cpp" line="328"/>
        <source>Unit must be set mm!</source>
        <translation>单位必须设为 mm！</translation>
    </message>
    <message>
        <location filename="../../calibration/CalibrationDlg.cpp" line="351"/>
        <source>It does not calibrate automatically with the previewing image.</source>
        <translation>无法用当前预览图像自动校准。</translation>
    </message>
    <message>
        <location filename="../../calibration/CalibrationDlg.cpp" line="388"/>
        <source>Please enter a number.</source>
        <translation>请输入一个数字。</translation>
    </message>
</context>
<context>
    <name>CCalibrationStatus</name>
    <message>
        <location filename="../../calibration/CalibrationStatus.cpp" line="16"/>
        <source>not calibrated, in pixels</source>
        <translation>未标定，以像素计</translation>
    </message>
    <message>
        <location filename="../../calibration/CalibrationStatus.cpp" line="20"/>
        <source>%1 %2/pixel</source>
        <translation>%1 %2/像素</translation>
    </message>
    <message>
        <location filename="../../calibration/CalibrationStatus.cpp" line="21"/>
        <source>%1 x %2 %3/pixel</source>
        <translation>%1 x %2 %3/像素</translation>
    </message>
    <message>
        <location filename="../../calibration/CalibrationStatus.cpp" line="27"/>
        <source>Scale from file: %1</source>
        <translation>比例来自文件：%1</translation>
    </message>
    <message>
        <location filename="../../calibration/CalibrationStatus.cpp" line="28"/>
        <source>Scale of calibration %1: %2</source>
        <translation>标定 %1 的比例：%2</translation>
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
        <location filename="../../measure/ResultListCtrl.cpp" line="155"/>
        <source>Are you going to delete all measure objects?</source>
        <translation>确定要删除所有测量对象吗？</translation>
    </message>
    <message>
        <location filename="../../measure/ResultListCtrl.cpp" line="155"/>
        <source>Warnning</source>
        <translation>警告</translation>
    </message>
    <message>
        <location filename="../../measure/ResultListCtrl.cpp" line="188"/>
        <source>Cannot create the file %1:
%2</source>
        <translation>无法创建文件 %1：
%2</translation>
    </message>
    <message>
        <location filename="../../measure/ResultListCtrl.cpp" line="216"/>
        <source>Save measurement</source>
        <translation>保存测量结果</translation>
    </message>
    <message>
        <location filename="../../measure/ResultListCtrl.cpp" line="216"/>
        <source>CSV Files(*.csv)</source>
        <translation>CSV 文件(*.csv)</translation>
    </message>
</context>
</TS>
