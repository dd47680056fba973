#!/usr/bin/env python3
# Writes the test files the printed-report tests open (UTF-16 with BOM, CR LF,
# as the program saves them): each standard in one direction and both, a
# manual test, a test on two pages and a file from the logging program.
#
#   tests/report/files/make-fixtures.py tests/report/files
import math, os, sys
out = sys.argv[1]
STD = {'C': ('CGSB', 'CGSB 149.10'), 'E': ('EN', 'EN 13829'), 'A': ('ASTM', 'ASTM E779-10'), 'I': ('ISO', 'ISO 9972')}

def points(base, c, n, pressures, rings, sign=1):
    rows = [(-1, 0.0, sign * base, 0.0, 0.0, 0.12, 0.0)]
    for p, r in zip(pressures, rings):
        q = c * p ** n
        rows.append((r, sign * p, sign * (p + base + 0.3), 40.0 + p * 2.0, q, 0.9, 21.0))
    rows.append((-1, 0.0, sign * (base - 0.05), 0.0, 0.0, 0.11, 0.0))
    return rows

def slot(letter, name, std, method, tests):
    pre = letter + '_'
    lines, i = [], 0
    body = []
    for t, (env, curve, extra) in enumerate(tests, 1):
        rows = points(*curve, sign=(-1 if letter == 'D' else 1))
        body.append('')
        body.append('%s TEST %d' % (name, t))
        if std == 'C':
            body.append('%sPretest_InTemp_OutTemp_for_Test_%d:  %.1f %.1f' % (pre, t, env[0], env[1]))
        elif std == 'A':
            body.append('%sPretest_InTemp_OutTemp_Altitude_for_Test_%d:  %.1f %.1f %.1f' % (pre, t, env[0], env[1], env[2]))
        else:
            body.append('%sPretest_InTemp_OutTemp_BarPr_for_Test_%d:  %.1f %.1f %.1f' % (pre, t, env[0], env[1], env[2]))
        body.append('')
        body.append('DATA FORMAT: Ring TargetP   Pavg      Pfan      Qavg      PStdDev  QStdDev')
        for k, r in enumerate(rows):
            body.append('%sData_pt_%d: %d %f %f %f %f %f %f END' % ((pre, i) + r))
            i += 1
        key = lambda k: '%sManual_Entry_%s_for_Test_%d:' % (pre, k, t)
        body.append('%s %.1f' % (key('Pretest_Indoor_Temperature'), env[0]))
        body.append('%s %.1f' % (key('Pretest_Outdoor_Temperature'), env[1]))
        if std in 'EI':
            body.append('%s 1' % key('Pretest_Barometric_Pressure_Source'))
            body.append('%s %.1f' % (key('Pretest_Barometric_Pressure'), env[2]))
        if std == 'A':
            body.append('%s %.1f' % (key('Posttest_Indoor_Temperature'), env[3]))
            body.append('%s %.1f' % (key('Posttest_Outdoor_Temperature'), env[4]))
            body.append('%s %.1f' % (key('Altitude'), env[2]))
        if std in 'EI':
            body.append('%sBaseline_Plus_Minus_for_Test_%d: %s ' % (pre, t, ' '.join('%0.6f' % v for v in extra)))
        if std == 'A':
            body.append('%sPosttest_InTemp_OutTemp_Altitude_for_Test_%d:  %.1f %.1f %.1f' % (pre, t, env[3], env[4], env[2]))
    lines.append('')
    lines.append('%s TEST DATA' % name)
    lines.append('%sStation_count: %d' % (pre, i))
    lines.append('%sCompleted_Tests: %d' % (pre, len(tests)))
    lines += body
    lines.append('')
    lines.append('%s TEST DEVIATIONS FROM STANDARD' % name)
    return lines

def univ(date):
    m, d, y = date.split('/')
    return '%s%02d%02d' % (y, int(m), int(d))

def make(fname, std, method, d_tests, p_tests, include_dev=1, export=False, units='m3h', std_info=(), country=(),
         fan='3', devices=(('RQ40', '5678', '1/15/2024'),), manual_gauge=None, uncertainty='5'):
    L = []
    L.append('QARSEAL_Vudadar%s_Version: 5.1.1.0' % ('_ISO' if std == 'I' else ''))
    L += ['', 'BUSINESS INFO', 'Business_Name: Airtight Testing Ltd.', 'Business_Address: 12 Mill Road',
          'Business_City: Springfield', 'Business_Phone: 555-0100']
    L += ['', 'TEST INFO', 'Test_Date_QAR_Univ: 20240612', 'Test_Date_Local: 6/12/2024', 'Technician: R. Tester',
          'IncludeDeviationsInTestReport: %d' % include_dev]
    L += ['', 'CUSTOMER INFO', 'Project_Name: 42', 'Name: A. Customer', 'Name_Line2: ', 'Address: 3 Oak Lane',
          'Address_Line2: ', 'City: Springfield', 'State: ON', 'Zip: K1A 0B1', 'Phone: 555-0111', 'Fax: ',
          'Email: ', 'Website: ']
    L += ['', 'BUILDING INFO', 'Building: Test House', 'Building_Address: 3 Oak Lane', 'Building_Address_Line2: ',
          'Building_Apartment_Number: 2B', 'Building_City: Springfield', 'Building_State: ON',
          'Building_Zip: K1A 0B1', 'Year_of_Construction: 1987']
    L += ['', 'BUILDING DIMENSIONS', 'Volume: 410', 'Floor: 150', 'Surface: 420']
    for k, v in country:
        L.append('%s: %s' % (k, v))
    if std != 'C':
        L.append('Height: 6.5')
    if std in 'EI':
        L.append('Percent_Uncertainty_In_Measured_Dimensions: %s' % uncertainty)
    if std == 'E':
        L += ['', 'EN13829 DATA INFO']
    if std == 'I':
        L += ['', 'ISO9972 DATA INFO']
    for k, v in std_info:
        L.append('%s %s' % (k, v))
    L += ['', 'TEST SETTINGS INFO', 'Build_Standard: %s' % std, 'Build_Test_Method: %s' % method,
          'Target_Tolerance: 2.0', 'Fan_adjust: 1.0', 'Data_samples: 100', 'Building_High_Pressure_Limit: 80',
          'Fan_Start_Percent: 10', 'Test_Standard_QSE: %s' % STD[std][1], 'Zonal_Pressures_Active: 0']
    L += ['', 'COMMENTS', 'Comments: ']
    L += ['', 'TEST UNITS INFO', 'Flow_Units: %s' % {'m3h': 'm\u00b3/h', 'cfm': 'cfm', 'ls': 'l/s'}[units],
          'Building_Dimension_Units: m', 'Leakage_Dimension_Units: cm', 'Temperature_Units: C']
    L += ['', 'CUSTOM PRESSURES INFO'] + ['Custom_Pressure_%d: ' % k for k in range(1, 13)]
    if export:
        L.append('QARMIX3_Export: True')
    if d_tests:
        L += slot('D', 'DEPRESSURIZATION', std, method, d_tests)
    if p_tests:
        L += slot('P', 'PRESSURIZATION', std, method, p_tests)
    L += ['', 'EQUIPMENT INFO', 'Build_Fan_Model: %s' % fan, 'Fan_Serial_Number: 1234']
    if manual_gauge:
        L += ['Micromanometer_Model: %s' % manual_gauge[0], 'Micromanometer_Serial_Number: %s' % manual_gauge[1],
              'Manual_Test_Micromanometer_Calibration_Date_QAR_Univ: 20230905',
              'Manual_Test_Micromanometer_Calibration_Date_Local: %s' % manual_gauge[2]]
    L += ['', 'FAN CALIBRATION INFO', 'Custom_Calibration_Date_QAR_Univ: ', 'Custom_Calibration_Date_Local: ']
    if method != 'M' and devices:
        L += ['', 'CONNECTED MANOMETER(S) INFO']
        for r, (model, serial, date) in enumerate(devices):
            aux = '' if r == 0 else 'Aux%d_' % r
            L += ['%sMicromanometer_Model: %s' % (aux, model), '%sMicromanometer_Serial_Number: %s' % (aux, serial),
                  '%sMicromanometer_Custom_Calibration_Date_QAR_Univ: %s' % (aux, univ(date)),
                  '%sMicromanometer_Custom_Calibration_Date_Local: %s' % (aux, date),
                  '%sPr_Channels: 2' % aux, '%sDevice_Type: 2' % aux]
    text = '\r\n'.join(L) + '\r\n'
    with open(os.path.join(out, fname), 'wb') as f:
        f.write(b'\xff\xfe' + text.encode('utf-16-le'))

STEPS = [60, 55, 50, 45, 40, 35, 30, 25]
def test(c, n, base=0.4, steps=STEPS, rings=None, env=(21.5, 4.5, 101300.0, 22.0, 5.5), extra=(0.6, -0.7, 0.5, -0.6)):
    rings = rings or [1] * 4 + [2] * (len(steps) - 4)
    return (env, (base, c, n, steps, rings), extra)

ENV_A = (21.5, 4.5, 250.0, 22.5, 6.5)
EN_INFO = [('Regulation_complied_with:', 'EnEV 2014'), ('Limiting Value:', 'n50'), ('Limit Value:', '3.0'),
           ('Type_of_Heating:', 'Gas boiler'), ('Type_of_Air_Conditioning:', 'Split unit'),
           ('Type_of_Ventilation:', 'Exhaust fans'), ('Type_Of_Ventilation_Selection:', '1'),
           ('Wind_Class:', '3'), ('Building_Wind_Exposure:', '1'), ('Type_of_Test_Method:', 'B')]
ISO_INFO = [('Regulation_complied_with:', 'Building code check'), ('Limiting Value:', 'qE50'),
            ('Limit Value:', '2.5'), ('Type_of_Heating:', 'Heat pump'), ('Type_of_Air_Conditioning:', 'None fitted'),
            ('Type_of_Ventilation:', 'Balanced'), ('Type_Of_Ventilation_Selection:', '0'),
            ('Wind_Class:', '14'), ('Building_Wind_Exposure:', '9'), ('Type_of_ISO9972_Test_Method:', 'Method 2')]
COUNTRY = [('Country_Specific_Volume', 'True'), ('Country_Specific_Floor_Area', 'False'),
           ('Country_Specific_Surface_Area', 'True')]

make('cgsb-pressurization.bld', 'C', 'A', [], [test(28.0, 0.66)])
make('cgsb-both-directions.bld', 'C', 'A', [test(30.0, 0.64)], [test(28.0, 0.66)])
make('en13829-pressurization.bld', 'E', 'A', [], [test(28.0, 0.66)], std_info=EN_INFO, include_dev=0)
make('en13829-both-directions.bld', 'E', 'A', [test(30.0, 0.64)], [test(28.0, 0.66)], std_info=EN_INFO)
make('astm-e779-depressurization.bld', 'A', 'A', [test(30.0, 0.64, env=ENV_A)], [], units='cfm')
make('astm-e779-both-directions.bld', 'A', 'A', [test(30.0, 0.64, env=ENV_A), test(31.0, 0.63, env=ENV_A)],
     [test(28.0, 0.66, env=ENV_A)], units='cfm',
     devices=(('RQ40', '5678', '1/15/2024'), ('RQ80', '9012', '2/20/2024')))
make('iso9972-depressurization.bld', 'I', 'A', [test(30.0, 0.64)], [], std_info=ISO_INFO, country=COUNTRY, units='ls')
make('iso9972-both-directions.bld', 'I', 'A', [test(30.0, 0.64)], [test(28.0, 0.66)], std_info=ISO_INFO,
     country=COUNTRY, units='ls', include_dev=1)
make('manual-cgsb-pressurization.bld', 'C', 'M', [], [test(28.0, 0.66, steps=[50, 45, 40, 35, 30])],
     manual_gauge=('LZT', '7701', '9/5/2023'))
long_steps = [80 - 1.5 * k for k in range(32)]
make('two-page-depressurization.bld', 'C', 'A', [test(30.0, 0.64, steps=long_steps, rings=[1] * 32)], [])
make('logger-export-cgsb.bld', 'C', 'A', [], [test(28.0, 0.66)], export=True)
