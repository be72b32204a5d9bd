-- PropLib.sql - the property library shipped with Kolvane (容器传热计算).
-- The build turns this file into the SQLite database PropLib.db that the program reads
-- (sqlite3 PropLib.db < PropLib.sql); edit the fluids here, not in the database.
--
-- One row per fluid, ordered by NO. The six property texts are evaluated at the temperature
-- t (C) and pressure p (kPa) of the property window and give SI values:
--   CP J/(kg K), MD kg/m3, VI Pa s, TC W/(m K), ST N/m, HV J/kg.
-- A text is a constant ("1040"), a table over t in C ("0,1.2;20,1.1;...", interpolated piecewise
-- cubic, extrapolated beyond its ends - keep t inside the stated range), an expression of the
-- formula language in t/p or T (K)/P (Pa) with R = 8.314, a correlation key with critical constants
-- (PRV: Peng-Robinson, VRV: virial; Pc kPa, Tc K, Vc cm3/mol, Zc, omega, M g/mol), or an IAPWS-IF97
-- key (IF97:, IF97S:, IF97L:, IF97V:). NULL means the fluid has no value for that property.
-- A name containing 液 marks a liquid (start values of the correlations), one containing 气 a gas
-- (expansion coefficient 1/T). Byte limits (GBK): CN 20, EN 20, texts 300, NT 100.
--
-- Sources (cited per fluid below):
--   IAPWS-IF97 and the IAPWS releases on viscosity, conductivity and surface tension (water, steam);
--   VDI Heat Atlas, 2nd ed. (Springer 2010), chapter D3.1, PPDS equations (liquids and gases);
--   Perry's Chemical Engineers' Handbook, 8th ed. (2008), Tables 2-153 (liquid heat capacities) and
--   2-313 (liquid viscosities);
--   Poling, Prausnitz & O'Connell, The Properties of Gases and Liquids, 5th ed. (2001), Appendix A
--   (critical constants, ideal-gas heat capacities);
--   Jasper, J. Phys. Chem. Ref. Data 1 (1972) 841 (surface tensions);
--   Zabransky et al., Heat Capacity of Liquids, J. Phys. Chem. Ref. Data Monograph 6 (1996);
--   Incropera, DeWitt et al., Fundamentals of Heat and Mass Transfer, Table A.4 (air);
--   Cengel & Boles, Thermodynamics, Table A-11 (saturated ammonia, Tillner-Roth et al. 1993 EOS);
--   ASHRAE Handbook - Fundamentals (2001), secondary coolants (glycol solutions);
--   VDI Heat Atlas, brine tables (calcium chloride);
--   manufacturers' data sheets: Shell Heat Transfer Oil S2, Therminol VP-1.
-- Tables were checked against the source equations at every node and midpoint (interpolation error
-- below 0.1 % except glycol and oil viscosities, below 5 %) and against independent handbook values
-- (CRC Handbook of Chemistry and Physics, NIST Chemistry WebBook) at 20-25 C.

CREATE TABLE PropertyRecord (
  NO TEXT PRIMARY KEY,  -- running number, e.g. '001'; the library is ordered by NO (max 6 bytes)
  CN TEXT NOT NULL,     -- Chinese name, max 20 bytes in GBK
  EN TEXT,              -- English name, max 20 bytes
  CP TEXT, MD TEXT, VI TEXT, TC TEXT, ST TEXT, HV TEXT,  -- property texts, max 300 bytes each (GBK)
  NT TEXT               -- note, max 100 bytes in GBK: the source, briefly
);

BEGIN TRANSACTION;


-- 001 水 (Water)
-- Water and steam at the grid's t and p: IAPWS-IF97 (2007) regions 1, 2 and 4;
-- viscosity IAPWS R12-08, thermal conductivity IAPWS R15-11, surface tension IAPWS R1-76(2014);
-- ST and HV are the saturation values at t. Valid 0-800 C up to 100 MPa (regions 1 and 2); the states of
-- region 3 near the critical point (above 350 C and the B23 pressure) are refused by the IF97 evaluation,
-- and ST and HV, saturation values, end at 350 C.
INSERT INTO PropertyRecord (NO, CN, EN, CP, MD, VI, TC, ST, HV, NT) VALUES
  ('001', '水', 'Water', 'IF97:', 'IF97:', 'IF97:', 'IF97:', 'IF97:', 'IF97:', 'IAPWS-IF97;粘度IAPWS 2008,导热IAPWS 2011,表面张力IAPWS 2014;ST,HV取t下饱和值;0~800C,≤100MPa');

-- 002 饱和水蒸气 (Saturated steam)
-- Saturated water/steam at the saturation temperature of the grid's p (IAPWS-IF97 region 4):
-- the steam when the window is opened from the steam button, the condensate otherwise; HV the latent heat.
-- Valid 0.6113 kPa - 16.529 MPa, the saturation temperatures 0.01-350 C: above 350 C the saturation line
-- runs through IF97 region 3, which is not implemented.
INSERT INTO PropertyRecord (NO, CN, EN, CP, MD, VI, TC, ST, HV, NT) VALUES
  ('002', '饱和水蒸气', 'Saturated steam', 'IF97S:', 'IF97S:', 'IF97S:', 'IF97S:', 'IF97S:', 'IF97S:', 'IAPWS-IF97饱和线,按p的饱和温度;蒸汽按钮取汽相,否则取凝液;0.6113kPa~16.529MPa');

-- 003 空气 (Air)
-- Dry air. cp at 1 atm: Incropera, DeWitt et al., Fundamentals of Heat and Mass Transfer, Table A.4
-- (values at 200-700 K, interpolated to the Celsius nodes). Viscosity and thermal conductivity:
-- VDI Heat Atlas 2nd ed. (2010) D3.1, PPDS polynomials (low pressure). Density: ideal gas, M = 28.965 g/mol
-- (Z deviates < 0.1 % at 100 kPa and < 0.5 % at 1 MPa between -50 and 400 C). Valid -50 to 400 C.
INSERT INTO PropertyRecord (NO, CN, EN, CP, MD, VI, TC, ST, HV, NT) VALUES
  ('003', '空气', 'Air', '-50,1006;-25,1006;0,1006;25,1007;50,1008;75,1009;100,1011;150,1017;200,1025;250,1035;300,1045;350,1056;400,1069', '(1.0E3*p)*0.028965/(8.314*(t+273.15))', '-50,1.46E-5;0,1.722E-5;50,1.966E-5;100,2.193E-5;150,2.406E-5;200,2.606E-5;300,2.979E-5;400,3.323E-5', '-50,0.02048;0,0.02447;50,0.02823;100,0.0318;150,0.0352;200,0.03846;300,0.04462;400,0.05044', NULL, NULL, 'cp:Incropera表A.4;粘度,导热:VDI传热图册D3.1;密度按理想气体;-50~400C,≤1MPa');

-- 004 氮气 (Nitrogen)
-- cp: constant 1040 J/(kg K); Poling, Prausnitz & O'Connell, The Properties of Gases and Liquids, 5th ed.,
-- Appendix A ideal-gas polynomial gives 1039-1045 between -50 and 150 C (at 400 C 1068: use below 150 C).
-- Density: truncated virial equation with Poling Appendix A critical constants (Pc 33.98 bar, Tc 126.20 K,
-- Vc 90.10 cm3/mol, Zc 0.289, omega 0.037). Viscosity, conductivity: VDI Heat Atlas D3.1 PPDS, low pressure.
-- Valid -50 to 400 C (cp to 150 C), up to about 5 MPa.
INSERT INTO PropertyRecord (NO, CN, EN, CP, MD, VI, TC, ST, HV, NT) VALUES
  ('004', '氮气', 'Nitrogen', '1040', 'VRV:3398,126.2,90.1,0.289,0.037,28.014', '-50,1.399E-5;0,1.654E-5;50,1.892E-5;100,2.113E-5;150,2.32E-5;200,2.515E-5;300,2.872E-5;400,3.196E-5', '-50,0.01974;0,0.02358;50,0.02723;100,0.03072;150,0.03406;200,0.03728;300,0.04339;400,0.04917', NULL, NULL, 'cp常数(Poling式,-50~150C内±0.5%);密度维里式,临界常数Poling附录A;粘度导热VDI D3.1;-50~400C,≤5MPa');

-- 005 氧气 (Oxygen)
-- cp: Poling et al. 5th ed. Appendix A ideal-gas polynomial (50-1000 K), tabulated.
-- Density: ideal gas P*M/(R*T) with M = 31.999 g/mol (Z > 0.993 at 1 MPa, > 0.999 at 100 kPa above -50 C).
-- Viscosity, conductivity: VDI Heat Atlas D3.1 PPDS low-pressure polynomials. Valid -50 to 400 C.
INSERT INTO PropertyRecord (NO, CN, EN, CP, MD, VI, TC, ST, HV, NT) VALUES
  ('005', '氧气', 'Oxygen', '-50,908.1;0,914.2;50,923.5;100,935.3;150,948.8;200,963.5;300,994.3;400,1024', 'P*0.031999/(R*T)', '-50,1.616E-5;0,1.923E-5;50,2.207E-5;100,2.471E-5;150,2.719E-5;200,2.951E-5;300,3.38E-5;400,3.771E-5', '-50,0.02024;0,0.02451;50,0.02861;100,0.03255;150,0.03635;200,0.04003;300,0.04704;400,0.05369', NULL, NULL, 'cp:Poling第5版附录A理想气体式;密度理想气体;粘度导热VDI D3.1;-50~400C,≤1MPa');

-- 006 二氧化碳(气) (Carbon dioxide)
-- cp: Poling et al. 5th ed. Appendix A ideal-gas polynomial plus the generalized virial residual term (VRRCP,
-- about +6 J/(kg K) at 100 kPa and +60 at 1 MPa near 20 C; good to about 1.5 MPa).
-- Density: Peng-Robinson with Poling Appendix A constants (Pc 73.74 bar, Tc 304.12 K, Vc 94.07 cm3/mol,
-- Zc 0.274, omega 0.225); PR is within about 1 % of measured gas densities below 2 MPa at 0-100 C.
-- Viscosity, conductivity: VDI Heat Atlas D3.1 PPDS low-pressure polynomials (pressure effect < 2 % below 1 MPa).
-- Gas only: valid -40 to 400 C at pressures below the saturation pressure (3.97 MPa at 5 C).
INSERT INTO PropertyRecord (NO, CN, EN, CP, MD, VI, TC, ST, HV, NT) VALUES
  ('006', '二氧化碳(气)', 'Carbon dioxide', 'Cp = 188.912*(3.259+0.001356*T+1.502E-5*T^2-2.374E-8*T^3+1.056E-11*T^4)+VRRCP PARAMS: 7374,304.12,94.07,0.274,0.225,44.010', 'PRV:7374,304.12,94.07,0.274,0.225,44.010', '-50,1.124E-5;0,1.376E-5;50,1.615E-5;100,1.842E-5;150,2.058E-5;200,2.264E-5;300,2.649E-5;400,3.003E-5', '-50,0.01077;0,0.01459;50,0.01853;100,0.02254;150,0.02659;200,0.03065;300,0.03868;400,0.04644', NULL, NULL, 'cp:Poling附录A理想气体式+维里剩余项;密度PR方程,临界常数Poling附录A;粘度导热VDI D3.1;-40~400C');

-- 007 甲烷(气) (Methane)
-- cp: Poling et al. 5th ed. Appendix A ideal-gas polynomial plus the Peng-Robinson residual term.
-- Density: Peng-Robinson with Poling Appendix A constants (Pc 45.99 bar, Tc 190.56 K, Vc 98.6 cm3/mol,
-- Zc 0.286, omega 0.011). Viscosity, conductivity: VDI Heat Atlas D3.1 PPDS low-pressure polynomials.
-- Valid -50 to 400 C, density to about 10 MPa.
INSERT INTO PropertyRecord (NO, CN, EN, CP, MD, VI, TC, ST, HV, NT) VALUES
  ('007', '甲烷(气)', 'Methane', 'Cp = 518.232*(4.568-0.008975*T+3.631E-5*T^2-3.407E-8*T^3+1.091E-11*T^4)+PRRCP PARAMS: 4599,190.56,98.6,0.286,0.011,16.043', 'PRV:4599,190.56,98.6,0.286,0.011,16.043', '-50,8.665E-6;0,1.038E-5;50,1.198E-5;100,1.349E-5;150,1.492E-5;200,1.627E-5;300,1.881E-5;400,2.117E-5', '-50,0.02403;0,0.03045;50,0.03756;100,0.04522;150,0.05334;200,0.06183;300,0.07966;400,0.09847', NULL, NULL, 'cp:Poling附录A理想气体式+PR剩余项;密度PR方程,临界常数Poling附录A;粘度导热VDI D3.1;-50~400C,≤10MPa');

-- 008 氨气 (Ammonia gas)
-- Ammonia vapour. cp: Poling et al. 5th ed. Appendix A ideal-gas polynomial plus the generalized virial
-- residual term (VRRCP); for the strongly polar ammonia the measured cp at 1 atm is 1-2 % higher near
-- room temperature (2.17 kJ/(kg K) at 15 C, Air Liquide gas data) - the closer of the two residual terms.
-- Density: Peng-Robinson with Poling Appendix A constants (Pc 113.53 bar, Tc 405.40 K, Vc 72.47 cm3/mol,
-- Zc 0.244, omega 0.257). Viscosity, conductivity: VDI Heat Atlas D3.1 PPDS low-pressure polynomials.
-- Vapour only: valid -30 to 300 C at pressures below saturation (857 kPa at 20 C).
INSERT INTO PropertyRecord (NO, CN, EN, CP, MD, VI, TC, ST, HV, NT) VALUES
  ('008', '氨气', 'Ammonia gas', 'Cp = 488.169*(4.238-0.004215*T+2.041E-5*T^2-2.126E-8*T^3+7.61E-12*T^4)+VRRCP PARAMS: 11353,405.4,72.47,0.244,0.257,17.031', 'PRV:11353,405.4,72.47,0.244,0.257,17.031', '-30,8.121E-6;0,9.216E-6;25,1.013E-5;50,1.104E-5;100,1.286E-5;150,1.468E-5;200,1.65E-5;300,2.013E-5', '-30,0.01851;0,0.02201;25,0.02499;50,0.02803;100,0.03429;150,0.04079;200,0.04752;300,0.06171', NULL, NULL, 'cp:Poling附录A理想气体式+维里剩余项(常压下约偏低1~2%);密度PR方程;粘度导热VDI D3.1;-30~300C');

-- 009 液氨 (Liquid ammonia)
-- Saturated liquid ammonia (the vessel must be above the saturation pressure: 857 kPa at 20 C).
-- Density, viscosity, conductivity, surface tension, latent heat: VDI Heat Atlas 2nd ed. D3.1 PPDS equations.
-- cp: from the saturated-liquid enthalpies of the Tillner-Roth, Harms-Watzenberg & Baehr (1993) equation
-- of state (Cengel & Boles, Thermodynamics, Table A-11): cp = dh'/dT - v'(1 - T beta) dp/dT. Perry's 8th ed.
-- Table 2-153 (DIPPR eq. 114) runs 2 % lower at 0-40 C (4.65 against 4.76 kJ/(kg K) at 20 C); the EOS is
-- the reference for ammonia, so it is taken. VDI latent heat agrees with the same table within 0.1 %.
-- Valid -40 to 60 C.
INSERT INTO PropertyRecord (NO, CN, EN, CP, MD, VI, TC, ST, HV, NT) VALUES
  ('009', '液氨', 'Liquid ammonia', '-40,4397;-30,4447;-20,4501;-10,4556;0,4616;10,4684;20,4758;30,4842;40,4942;50,5064;60,5219', '-40,690.15;-30,677.92;-20,665.33;-10,652.35;0,638.94;10,625.04;20,610.6;30,595.52;40,579.72;50,563.04;60,545.33', '5.863E-5*exp(0.76099*((373.726-T)/(T+304.733))^(1/3)+6.53802*((373.726-T)/(T+304.733))^(4/3))', '-40,0.5875;-30,0.5716;-20,0.5545;-10,0.5364;0,0.5176;10,0.4982;20,0.4782;30,0.4577;40,0.4368;50,0.4155;60,0.3936', '0.10175*(1-T/405.5)^1.21703', '-40,1.3883E6;-30,1.3596E6;-20,1.3291E6;-10,1.2969E6;0,1.2626E6;10,1.226E6;20,1.1869E6;30,1.1449E6;40,1.0996E6;50,1.0506E6;60,9.9721E5', '饱和液;密度粘度导热表面张力汽化热:VDI D3.1;cp由Tillner-Roth状态方程饱和表导出;-40~60C');

-- 010 乙醇(液) (Ethanol (liquid))
-- Saturated liquid at the vessel temperature (above the normal boiling point the vessel must be under
-- at least the vapour pressure). Density, viscosity (as the PPDS equation in T), thermal conductivity,
-- latent heat: VDI Heat Atlas 2nd ed. (2010) D3.1, PPDS correlations. cp: Perry's Chemical Engineers'
-- Handbook 8th ed. Table 2-153 (DIPPR eq. 100). Surface tension: Jasper, J. Phys. Chem. Ref. Data 1 (1972) 841, linear in t.
-- Valid -40 to 110 C. Jasper's surface-tension fit ends at 78 C; above it the line is extrapolated.
INSERT INTO PropertyRecord (NO, CN, EN, CP, MD, VI, TC, ST, HV, NT) VALUES
  ('010', '乙醇(液)', 'Ethanol (liquid)', '-40,2046;-30,2088;-20,2136;-10,2191;0,2253;10,2322;20,2398;30,2481;40,2573;50,2673;60,2781;70,2898;80,3024;95,3231;110,3459', '-40,835.43;-30,828.47;-20,821.29;-10,813.89;0,806.24;10,798.35;20,790.18;30,781.74;40,772.99;50,763.93;60,754.52;70,744.74;80,734.56;95,718.47;110,701.24', '3.8E-7*exp(6.16832*((740.323-T)/(T-90.778))^(1/3)-0.00125*((740.323-T)/(T-90.778))^(4/3))', '-40,0.1852;-30,0.1826;-20,0.18;-10,0.1773;0,0.1747;10,0.1721;20,0.1694;30,0.1668;40,0.1642;50,0.1615;60,0.1589;70,0.1562;80,0.1536;95,0.1497;110,0.1457', '0.02405-8.32E-5*t', '-40,9.7162E5;-30,9.6502E5;-20,9.5824E5;-10,9.511E5;0,9.4343E5;10,9.3508E5;20,9.2591E5;30,9.1579E5;40,9.0463E5;50,8.9231E5;60,8.7876E5;70,8.6387E5;80,8.4758E5;95,8.2034E5;110,7.8951E5', 'VDI传热图册D3.1(PPDS);cp:Perry第8版表2-153;表面张力:Jasper 1972;-40~110C');

-- 011 甲醇(液) (Methanol (liquid))
-- Saturated liquid at the vessel temperature (above the normal boiling point the vessel must be under
-- at least the vapour pressure). Density, viscosity (as the PPDS equation in T), thermal conductivity,
-- latent heat: VDI Heat Atlas 2nd ed. (2010) D3.1, PPDS correlations. cp: Perry's Chemical Engineers'
-- Handbook 8th ed. Table 2-153 (DIPPR eq. 100). Surface tension: Jasper, J. Phys. Chem. Ref. Data 1 (1972) 841, linear in t.
-- Valid -40 to 110 C. Jasper's surface-tension fit ends at 65 C; above it the line is extrapolated.
INSERT INTO PropertyRecord (NO, CN, EN, CP, MD, VI, TC, ST, HV, NT) VALUES
  ('011', '甲醇(液)', 'Methanol (liquid)', '-40,2257;-30,2284;-20,2316;-10,2354;0,2398;10,2448;20,2503;30,2565;40,2632;50,2705;60,2784;70,2869;80,2960;95,3107;110,3268', '-40,848.72;-30,839.29;-20,829.88;-10,820.46;0,811.02;10,801.56;20,792.03;30,782.44;40,772.74;50,762.92;60,752.94;70,742.77;80,732.36;95,716.18;110,699.13', '7.91E-6*exp(3.79226*((546.563-T)/(T-87.845))^(1/3)+0.17755*((546.563-T)/(T-87.845))^(4/3))', '-40,0.2182;-30,0.2154;-20,0.2126;-10,0.2097;0,0.2069;10,0.2041;20,0.2013;30,0.1985;40,0.1957;50,0.1929;60,0.1901;70,0.1873;80,0.1844;95,0.1802;110,0.1759', '0.024-7.73E-5*t', '-40,1.253E6;-30,1.2419E6;-20,1.2304E6;-10,1.2185E6;0,1.2059E6;10,1.1926E6;20,1.1784E6;30,1.1633E6;40,1.1471E6;50,1.1296E6;60,1.1109E6;70,1.0907E6;80,1.069E6;95,1.0332E6;110,9.9319E5', 'VDI传热图册D3.1(PPDS);cp:Perry第8版表2-153;表面张力:Jasper 1972;-40~110C');

-- 012 丙酮(液) (Acetone (liquid))
-- Saturated liquid at the vessel temperature (above the normal boiling point the vessel must be under
-- at least the vapour pressure). Density, viscosity (as the PPDS equation in T), thermal conductivity,
-- latent heat: VDI Heat Atlas 2nd ed. (2010) D3.1, PPDS correlations. cp: Perry's Chemical Engineers'
-- Handbook 8th ed. Table 2-153 (DIPPR eq. 100). Surface tension: Jasper, J. Phys. Chem. Ref. Data 1 (1972) 841, linear in t.
-- Valid -40 to 50 C.
INSERT INTO PropertyRecord (NO, CN, EN, CP, MD, VI, TC, ST, HV, NT) VALUES
  ('012', '丙酮(液)', 'Acetone (liquid)', '-40,2040;-30,2053;-20,2069;-10,2087;0,2109;10,2133;20,2160;30,2190;40,2224;50,2260', '-40,855.87;-30,845.42;-20,834.84;-10,824.14;0,813.3;10,802.31;20,791.16;30,779.83;40,768.31;50,756.57', '2.915E-5*exp(1.65496*((610.687-T)/(T-11.477))^(1/3)+0.5733*((610.687-T)/(T-11.477))^(4/3))', '-40,0.1882;-30,0.184;-20,0.1797;-10,0.1754;0,0.1711;10,0.1669;20,0.1626;30,0.1583;40,0.1541;50,0.1498', '0.02626-0.000112*t', '-40,5.9651E5;-30,5.8716E5;-20,5.778E5;-10,5.6839E5;0,5.5888E5;10,5.4923E5;20,5.3939E5;30,5.2933E5;40,5.1899E5;50,5.0834E5', 'VDI传热图册D3.1(PPDS);cp:Perry第8版表2-153;表面张力:Jasper 1972;-40~50C');

-- 013 苯(液) (Benzene (liquid))
-- Saturated liquid at the vessel temperature (above the normal boiling point the vessel must be under
-- at least the vapour pressure). Density, viscosity (as the PPDS equation in T), thermal conductivity,
-- latent heat: VDI Heat Atlas 2nd ed. (2010) D3.1, PPDS correlations. cp: Perry's Chemical Engineers'
-- Handbook 8th ed. Table 2-153 (DIPPR eq. 100). Surface tension: VDI D3.1 PPDS.
-- Valid 10 to 80 C.
INSERT INTO PropertyRecord (NO, CN, EN, CP, MD, VI, TC, ST, HV, NT) VALUES
  ('013', '苯(液)', 'Benzene (liquid)', '10,1708;20,1734;30,1761;40,1791;50,1822;60,1855;70,1889;80,1925', '10,887.33;20,877.37;30,867.3;40,857.1;50,846.77;60,836.28;70,825.64;80,814.81', '1.031E-5*exp(2.35743*((760.674-T)/(T+267.449))^(1/3)+2.43122*((760.674-T)/(T+267.449))^(4/3))', '10,0.1479;20,0.1449;30,0.1418;40,0.1388;50,0.1357;60,0.1327;70,0.1296;80,0.1266', '0.07178*(1-T/562.01)^1.23593', '10,4.4371E5;20,4.3659E5;30,4.2954E5;40,4.225E5;50,4.1544E5;60,4.0832E5;70,4.0111E5;80,3.9378E5', 'VDI传热图册D3.1(PPDS);cp:Perry第8版表2-153;表面张力:VDI D3.1;10~80C');

-- 014 甲苯(液) (Toluene (liquid))
-- Saturated liquid at the vessel temperature (above the normal boiling point the vessel must be under
-- at least the vapour pressure). Density, viscosity (as the PPDS equation in T), thermal conductivity,
-- latent heat: VDI Heat Atlas 2nd ed. (2010) D3.1, PPDS correlations. cp: Perry's Chemical Engineers'
-- Handbook 8th ed. Table 2-153 (DIPPR eq. 100). Surface tension: Jasper, J. Phys. Chem. Ref. Data 1 (1972) 841, linear in t.
-- Valid -40 to 140 C. Jasper's surface-tension fit ends at 111 C; above it the line is extrapolated.
INSERT INTO PropertyRecord (NO, CN, EN, CP, MD, VI, TC, ST, HV, NT) VALUES
  ('014', '甲苯(液)', 'Toluene (liquid)', '-40,1546;-20,1586;0,1632;20,1685;40,1743;60,1807;80,1878;100,1954;120,2037;140,2126', '-40,922.68;-20,904.38;0,885.93;20,867.3;40,848.41;60,829.22;80,809.64;100,789.57;120,768.9;140,747.45', '3.97E-6*exp(2.9548*((1048.107-T)/(T-137.144))^(1/3)+3E-5*((1048.107-T)/(T-137.144))^(4/3))', '-40,0.1481;-20,0.1432;0,0.1384;20,0.1335;40,0.1287;60,0.1238;80,0.119;100,0.1141;120,0.1093;140,0.1044', '0.0309-0.0001189*t', '-40,4.5254E5;-20,4.3985E5;0,4.2771E5;20,4.1588E5;40,4.0415E5;60,3.9233E5;80,3.8023E5;100,3.6768E5;120,3.5448E5;140,3.4045E5', 'VDI传热图册D3.1(PPDS);cp:Perry第8版表2-153;表面张力:Jasper 1972;-40~140C');

-- 015 二甲苯(液) (Xylene (m-, liquid))
-- m-Xylene, the main component of commercial mixed xylene; o-xylene is 2 % denser and 30 % more viscous.
-- Saturated liquid at the vessel temperature (above the normal boiling point the vessel must be under
-- at least the vapour pressure). Density, viscosity (as the PPDS equation in T), thermal conductivity,
-- latent heat: VDI Heat Atlas 2nd ed. (2010) D3.1, PPDS correlations. cp: Perry's Chemical Engineers'
-- Handbook 8th ed. Table 2-153 (DIPPR eq. 100). Surface tension: Jasper, J. Phys. Chem. Ref. Data 1 (1972) 841, linear in t.
-- Valid -40 to 160 C. Jasper's surface-tension fit ends at 139 C; above it the line is extrapolated.
INSERT INTO PropertyRecord (NO, CN, EN, CP, MD, VI, TC, ST, HV, NT) VALUES
  ('015', '二甲苯(液)', 'Xylene (m-, liquid)', '-40,1546;-20,1595;0,1648;20,1706;40,1767;60,1832;80,1901;100,1974;120,2051;140,2132;160,2217', '-40,912.49;-20,896.68;0,880.5;20,863.93;40,846.91;60,829.43;80,811.41;100,792.8;120,773.53;140,753.51;160,732.6', '6.847E-5*exp(0.83592*((637.761-T)/(T+46.156))^(1/3)+1.33199*((637.761-T)/(T+46.156))^(4/3))', '-40,0.1456;-20,0.1409;0,0.1362;20,0.1315;40,0.1268;60,0.1221;80,0.1174;100,0.1127;120,0.108;140,0.1033;160,0.09859', '0.03123-0.0001104*t', '-40,4.3213E5;-20,4.2275E5;0,4.1345E5;20,4.0412E5;40,3.9466E5;60,3.8496E5;80,3.7492E5;100,3.6444E5;120,3.5342E5;140,3.4174E5;160,3.2925E5', '间二甲苯;VDI传热图册D3.1(PPDS);cp:Perry第8版表2-153;表面张力:Jasper 1972;-40~160C');

-- 016 乙二醇(液) (Ethylene glycol)
-- Pure ethylene glycol (monoethylene glycol). Viscosity: Perry's 8th ed. Table 2-313 (DIPPR eq. 101)
-- instead of VDI, whose PPDS equation gives 17.2 mPa s at 25 C against 16.1 in the CRC Handbook (Perry 16.8).
-- Saturated liquid at the vessel temperature (above the normal boiling point the vessel must be under
-- at least the vapour pressure). Density, thermal conductivity,
-- latent heat: VDI Heat Atlas 2nd ed. (2010) D3.1, PPDS correlations. cp: Perry's Chemical Engineers'
-- Handbook 8th ed. Table 2-153 (DIPPR eq. 100). Surface tension: Jasper, J. Phys. Chem. Ref. Data 1 (1972) 841, linear in t.
-- Valid 0 to 180 C.
INSERT INTO PropertyRecord (NO, CN, EN, CP, MD, VI, TC, ST, HV, NT) VALUES
  ('016', '乙二醇(液)', 'Ethylene glycol', '0,2273;10,2326;20,2380;30,2432;40,2484;60,2586;80,2686;100,2784;120,2879;140,2972;160,3062;180,3150', '0,1127.2;10,1120.4;20,1113.5;30,1106.6;40,1099.5;60,1085;80,1070.1;100,1054.7;120,1038.8;140,1022.4;160,1005.3;180,987.57', 'exp(-20.515+2468.5/T+1.2435*ln(T)+2.4998E12/T^5)', '0,0.2489;10,0.2511;20,0.253;30,0.2547;40,0.2561;60,0.2581;80,0.2591;100,0.259;120,0.2578;140,0.2556;160,0.2523;180,0.248', '0.05021-8.9E-5*t', '0,1.0864E6;10,1.0764E6;20,1.0665E6;30,1.0567E6;40,1.0469E6;60,1.0272E6;80,1.007E6;100,9.8614E5;120,9.6432E5;140,9.4133E5;160,9.1696E5;180,8.9101E5', 'VDI传热图册D3.1(PPDS);cp,粘度:Perry第8版表2-153;表面张力:Jasper 1972;0~180C');

-- 017 甘油(液) (Glycerol)
-- Anhydrous glycerol (1,2,3-propanetriol); water content lowers the viscosity strongly.
-- cp: Zabransky, Ruzicka, Majer & Domalski, Heat Capacity of Liquids (J. Phys. Chem. Ref. Data Monograph 6, 1996),
-- Cp/R = 9.16889 + 0.0573727 T (293-383 K); gives 2372 J/(kg K) at 25 C against 2377 from CRC (218.9 J/(mol K)).
-- Density, viscosity (PPDS equation in T), conductivity, surface tension: VDI Heat Atlas D3.1 PPDS.
-- No latent heat: glycerol decomposes near its boiling point. Valid 20 to 110 C.
INSERT INTO PropertyRecord (NO, CN, EN, CP, MD, VI, TC, ST, HV, NT) VALUES
  ('017', '甘油(液)', 'Glycerol', '(9.16889+0.0573727*T)*R/0.092094', '20,1261.2;30,1254.8;40,1248.4;50,1241.8;60,1235.3;70,1228.6;80,1221.9;90,1215.1;100,1208.2;110,1201.2', '0.0079964*exp(-3.91153*((582.48-T)/(T-73.885))^(1/3)+6.54946*((582.48-T)/(T-73.885))^(4/3))', '20,0.2912;30,0.2923;40,0.2935;50,0.2946;60,0.2958;70,0.2969;80,0.2981;90,0.2992;100,0.3003;110,0.3015', '0.09019*(1-T/850.05)^0.80707', NULL, '无水甘油;cp:Zabransky等1996;密度粘度导热表面张力:VDI D3.1;20~110C');

-- 018 30%乙二醇水溶液 (EG/water 30 wt%)
-- 30 % by mass ethylene glycol in water (uninhibited; inhibited commercial fluids have their own sheets),
-- = 27.7 % by volume; freezing point about -15 C. Data: ASHRAE Handbook - Fundamentals (2001), chapter
-- 'Physical properties of secondary coolants (brines)', ethylene glycol tables (by volume %, from the
-- manufacturer's data), converted to mass % with the ASHRAE volume/mass table and interpolated across
-- concentration with cubic polynomials (logarithmically for viscosity).
-- Melinder, Thermophysical properties of aqueous solutions used as secondary working fluids (KTH 2007,
-- IIR 2010; by mass, to 40 C) agrees within 0.6 % in density (ASHRAE higher) and 5 % in viscosity
-- (ASHRAE lower) at the same concentration at 20-40 C;
-- ASHRAE is taken for its range up to 100 C.
-- No surface tension or latent heat (a mixture). Valid -10 to 100 C.
INSERT INTO PropertyRecord (NO, CN, EN, CP, MD, VI, TC, ST, HV, NT) VALUES
  ('018', '30%乙二醇水溶液', 'EG/water 30 wt%', '-10,3602;0,3631;10,3658;20,3685;30,3712;40,3739;50,3766;60,3794;70,3821;80,3848;90,3875;100,3902', '-10,1050.8;0,1048.2;10,1045.2;20,1041.8;30,1037.9;40,1033.4;50,1028.5;60,1023.2;70,1017.3;80,1010.9;90,1004.1;100,996.76', '-10,0.005567;-5,0.004651;0,0.003861;5,0.00324;10,0.002754;15,0.002367;20,0.00206;30,0.001591;40,0.001269;50,0.001037;60,0.0008593;70,0.0007296;80,0.0006245;90,0.0005422;100,0.0004749', '-10,0.4225;0,0.4375;10,0.451;20,0.4626;30,0.4739;40,0.4833;50,0.4915;60,0.499;70,0.505;80,0.5092;90,0.5124;100,0.5155', NULL, NULL, '质量分数30%(约体积27.7%);ASHRAE基础手册2001载冷剂表,按体积分数换算;-10~100C');

-- 019 50%乙二醇水溶液 (EG/water 50 wt%)
-- 50 % by mass ethylene glycol in water (uninhibited; inhibited commercial fluids have their own sheets),
-- = 47.6 % by volume; freezing point about -37 C. Data: ASHRAE Handbook - Fundamentals (2001), chapter
-- 'Physical properties of secondary coolants (brines)', ethylene glycol tables (by volume %, from the
-- manufacturer's data), converted to mass % with the ASHRAE volume/mass table and interpolated across
-- concentration with cubic polynomials (logarithmically for viscosity).
-- Melinder, Thermophysical properties of aqueous solutions used as secondary working fluids (KTH 2007,
-- IIR 2010; by mass, to 40 C) agrees within 0.6 % in density (ASHRAE higher) and 5 % in viscosity
-- (ASHRAE lower) at the same concentration at 20-40 C;
-- ASHRAE is taken for its range up to 100 C.
-- No surface tension or latent heat (a mixture). Valid -30 to 100 C.
INSERT INTO PropertyRecord (NO, CN, EN, CP, MD, VI, TC, ST, HV, NT) VALUES
  ('019', '50%乙二醇水溶液', 'EG/water 50 wt%', '-30,3141;-20,3177;-10,3214;0,3251;10,3289;20,3327;30,3364;40,3401;50,3438;60,3476;70,3514;80,3551;90,3588;100,3626', '-30,1085.6;-20,1083.4;-10,1080.8;0,1077.7;10,1074.2;20,1070.1;30,1065.6;40,1060.6;50,1055.1;60,1049.1;70,1042.7;80,1035.7;90,1028.3;100,1020.3', '-30,0.04001;-25,0.02753;-20,0.02017;-15,0.01509;-10,0.0117;-5,0.009236;0,0.007452;5,0.006124;10,0.005095;15,0.004304;20,0.003675;40,0.002136;60,0.001368;80,0.0009439;100,0.0006779', '-30,0.338;-20,0.3501;-10,0.3606;0,0.3712;10,0.3804;20,0.3881;30,0.3955;40,0.4025;50,0.408;60,0.4132;70,0.4174;80,0.4204;90,0.4235;100,0.4254', NULL, NULL, '质量分数50%(约体积47.6%);ASHRAE基础手册2001载冷剂表,按体积分数换算;-30~100C');

-- 020 30%丙二醇水溶液 (PG/water 30 wt%)
-- 30 % by mass propylene glycol in water (uninhibited; inhibited commercial fluids have their own sheets),
-- = 29.4 % by volume; freezing point about -12 C. Data: ASHRAE Handbook - Fundamentals (2001), chapter
-- 'Physical properties of secondary coolants (brines)', propylene glycol tables (by volume %, from the
-- manufacturer's data), converted to mass % with the ASHRAE volume/mass table and interpolated across
-- concentration with cubic polynomials (logarithmically for viscosity).
-- No surface tension or latent heat (a mixture). Valid -10 to 100 C.
INSERT INTO PropertyRecord (NO, CN, EN, CP, MD, VI, TC, ST, HV, NT) VALUES
  ('020', '30%丙二醇水溶液', 'PG/water 30 wt%', '-10,3774;0,3802;10,3829;20,3856;30,3883;40,3910;50,3937;60,3965;70,3992;80,4019;90,4046;100,4073', '-10,1038.8;0,1035.7;10,1032;20,1027.8;30,1023.1;40,1018;50,1012.3;60,1006;70,999.33;80,992.09;90,984.35;100,976.1', '-10,0.01118;-5,0.008731;0,0.006835;5,0.005431;10,0.004387;15,0.00359;20,0.002983;30,0.002132;40,0.001598;50,0.001239;60,0.0009942;70,0.0008182;80,0.0006904;90,0.000602;100,0.0005232', '-10,0.4122;0,0.4254;10,0.4366;20,0.4477;30,0.4568;40,0.465;50,0.4721;60,0.4781;70,0.4822;80,0.4854;90,0.4874;100,0.4884', NULL, NULL, '质量分数30%(约体积29.4%);ASHRAE基础手册2001载冷剂表,按体积分数换算;-10~100C');

-- 021 50%丙二醇水溶液 (PG/water 50 wt%)
-- 50 % by mass propylene glycol in water (uninhibited; inhibited commercial fluids have their own sheets),
-- = 49.9 % by volume; freezing point about -33 C. Data: ASHRAE Handbook - Fundamentals (2001), chapter
-- 'Physical properties of secondary coolants (brines)', propylene glycol tables (by volume %, from the
-- manufacturer's data), converted to mass % with the ASHRAE volume/mass table and interpolated across
-- concentration with cubic polynomials (logarithmically for viscosity).
-- No surface tension or latent heat (a mixture). Valid -25 to 100 C.
INSERT INTO PropertyRecord (NO, CN, EN, CP, MD, VI, TC, ST, HV, NT) VALUES
  ('021', '50%丙二醇水溶液', 'PG/water 50 wt%', '-25,3360;-20,3380;-10,3418;0,3457;10,3495;20,3534;30,3572;40,3611;50,3650;60,3688;70,3727;80,3764;90,3803;100,3842', '-25,1062;-20,1060.4;-10,1056.8;0,1052.6;10,1048;20,1042.8;30,1037.1;40,1030.9;50,1024.2;60,1017;70,1009.3;80,1001;90,992.25;100,982.98', '-25,0.1099;-20,0.07257;-15,0.04945;-10,0.03463;-5,0.02489;0,0.01832;5,0.01379;10,0.01061;15,0.008307;20,0.006624;40,0.003099;60,0.001745;80,0.001117;100,0.0007887', '-25,0.3293;-20,0.3343;-10,0.3423;0,0.3493;10,0.3564;20,0.3624;30,0.3674;40,0.3724;50,0.3754;60,0.3785;70,0.3805;80,0.3825;90,0.3825;100,0.3825', NULL, NULL, '质量分数50%(约体积49.9%);ASHRAE基础手册2001载冷剂表,按体积分数换算;-25~100C');

-- 022 氯化钙盐水25.7% (CaCl2 brine 25.7wt%)
-- Calcium chloride brine, 25.7 % CaCl2 by mass (density 1.24 kg/L at 15 C), freezing point about -31 C.
-- Data: VDI Heat Atlas, thermophysical properties of brines (table values as used in the SecCool program),
-- taken at the tabulated concentration without interpolation across concentration; the table ends at 20 C,
-- so the record is for cooling duty from -30 to 20 C (tables extrapolate outside). The CRC Handbook
-- tables of concentrative properties of aqueous solutions give about 1.24 kg/L at 20 C for this concentration.
INSERT INTO PropertyRecord (NO, CN, EN, CP, MD, VI, TC, ST, HV, NT) VALUES
  ('022', '氯化钙盐水25.7%', 'CaCl2 brine 25.7wt%', '-30,2763;-25,2791;-20,2817;-15,2837;-10,2854;0,2872;10,2883;20,2894', '-30,1263;-25,1260;-20,1258;-15,1255;-10,1253;0,1247;10,1242;20,1237', '-30,0.0148;-25,0.0129;-20,0.0106;-15,0.00836;-10,0.00668;0,0.00426;10,0.00322;20,0.00263', '-30,0.494;-25,0.501;-20,0.508;-15,0.514;-10,0.521;0,0.535;10,0.548;20,0.562', NULL, NULL, '质量分数25.7%(15C密度1.24);VDI传热图册载冷剂盐水表;冰点约-31C;-30~20C');

-- 023 矿物导热油 (Mineral HT oil)
-- Mineral (solvent-refined paraffinic) heat-transfer oil, ISO VG 32 class: Shell Heat Transfer Oil S2
-- (formerly Shell Thermia Oil B) technical data sheet, typical values: density, cp and thermal conductivity
-- at 0-340 C as tabulated; viscosity from the sheet's kinematic viscosities (25 mm2/s at 40 C, 4.7 mm2/s
-- at 100 C) by the ASTM D341 viscosity-temperature relation, times the density. The Texaco Texatherm data
-- sheet (same oil class) agrees within 1 % in density, cp and conductivity at 20 C. Other mineral oils
-- differ mainly in viscosity: use the product's own data sheet for a close design.
-- Valid 0 to 320 C (maximum bulk temperature; 340 C is the film limit).
INSERT INTO PropertyRecord (NO, CN, EN, CP, MD, VI, TC, ST, HV, NT) VALUES
  ('023', '矿物导热油', 'Mineral HT oil', '0,1809;20,1882;40,1954;100,2173;150,2355;200,2538;250,2720;300,2902;340,3048', '0,876;20,863;40,850;100,811;150,778;200,746;250,713;300,681;340,655', '0,0.1952;10,0.09787;20,0.05438;30,0.03285;40,0.02125;60,0.01042;80,0.005965;100,0.003812;125,0.002428;150,0.001688;200,0.0009651;250,0.0006281;300,0.000441;340,0.0003444', '0,0.136;20,0.134;40,0.133;100,0.128;150,0.125;200,0.121;250,0.118;300,0.114;340,0.111', NULL, NULL, '矿物油型导热油(Shell导热油S2,原Thermia B)技术数据表;粘度按ASTM D341由40/100C值推算;0~320C');

-- 024 联苯-联苯醚导热油 (BP/DPO eutectic oil)
-- Eutectic of 26.5 % biphenyl and 73.5 % diphenyl oxide (Therminol VP-1, Dowtherm A and equivalents),
-- liquid phase: Therminol VP-1 technical data sheet (Solutia/Eastman), SI liquid-property table at 12-397 C
-- in 5 K steps. The sheet rounds density to three figures below 100 C; the density here is a cubic fit
-- through all 78 sheet values (largest deviation 0.53 %). Crystallizes at 12 C; above its 257 C boiling point
-- the vessel must be pressurized. No latent heat is given for vapour-phase service (not in the liquid table).
-- Valid 12 to 397 C.
INSERT INTO PropertyRecord (NO, CN, EN, CP, MD, VI, TC, ST, HV, NT) VALUES
  ('024', '联苯-联苯醚导热油', 'BP/DPO eutectic oil', '12,1523;22,1552;42,1610;62,1668;82,1724;102,1781;132,1864;162,1946;202,2054;242,2160;282,2266;322,2374;362,2491;397,2615', '12,1072;22,1063;42,1046;62,1029;82,1013;102,996.4;132,971.6;162,946.4;202,911.7;242,875;282,835.6;322,792.7;362,745.7;397,700.5', '12,0.00548;17,0.00468;22,0.00405;32,0.00312;42,0.00249;52,0.00204;62,0.0017;82,0.00125;102,0.000962;132,0.000693;162,0.000528;202,0.000389;242,0.000301;282,0.000242;322,0.0002;362,0.000169;397,0.000148', '12,0.137;22,0.1361;42,0.1342;62,0.132;82,0.1298;102,0.1274;132,0.1236;162,0.1195;202,0.1135;242,0.1069;282,0.0998;322,0.0921;362,0.0839;397,0.0763', NULL, NULL, '联苯26.5%/联苯醚73.5%共沸物(Therminol VP-1,Dowtherm A类);Therminol VP-1技术数据表;12~397C');

-- 025 稀水溶液 (Dilute aqueous soln)
-- A dilute aqueous solution taken as water: IAPWS-IF97 at the grid's t and p (see 001).
-- Good to a few per cent for solute contents up to about 5 % by mass; surface-active solutes lower
-- the surface tension, and concentrated solutions need their own record.
INSERT INTO PropertyRecord (NO, CN, EN, CP, MD, VI, TC, ST, HV, NT) VALUES
  ('025', '稀水溶液', 'Dilute aqueous soln', 'IF97:', 'IF97:', 'IF97:', 'IF97:', 'IF97:', 'IF97:', '按水计算(IAPWS-IF97);适用于溶质≤约5%且无表面活性剂的水溶液;0~800C,≤100MPa');

-- 026 二氯甲烷(液) (Dichloromethane)
-- Saturated liquid at the vessel temperature (above the normal boiling point the vessel must be under
-- at least the vapour pressure). Density, viscosity (as the PPDS equation in T), thermal conductivity,
-- latent heat: VDI Heat Atlas 2nd ed. (2010) D3.1, PPDS correlations. cp: Perry's Chemical Engineers'
-- Handbook 8th ed. Table 2-153 (DIPPR eq. 100).
-- Surface tension: Jasper, J. Phys. Chem. Ref. Data 1 (1972) 841, linear in t.
-- Valid -40 to 40 C.
INSERT INTO PropertyRecord (NO, CN, EN, CP, MD, VI, TC, ST, HV, NT) VALUES
  ('026', '二氯甲烷(液)', 'Dichloromethane', '-40,1141;-30,1147;-20,1153;-10,1160;0,1167;10,1175;20,1183;30,1192;40,1202', '-40,1434.7;-30,1417.3;-20,1399.7;-10,1381.9;0,1363.8;10,1345.4;20,1326.7;30,1307.7;40,1288.3', '7.319E-5*exp(0.85505*((608.752-T)/(T+18.795))^(1/3)+0.90417*((608.752-T)/(T+18.795))^(4/3))', '-40,0.1607;-30,0.1574;-20,0.1541;-10,0.1507;0,0.1474;10,0.1441;20,0.1407;30,0.1374;40,0.134', '0.03041-0.0001284*t', '-40,3.8392E5;-30,3.7817E5;-20,3.7229E5;-10,3.6627E5;0,3.6011E5;10,3.5379E5;20,3.4732E5;30,3.4066E5;40,3.3382E5', 'VDI传热图册D3.1(PPDS);cp:Perry第8版表2-153;表面张力:Jasper 1972;-40~40C');

-- 027 乙酸乙酯(液) (Ethyl acetate)
-- Saturated liquid at the vessel temperature (above the normal boiling point the vessel must be under
-- at least the vapour pressure). Density, thermal conductivity,
-- latent heat: VDI Heat Atlas 2nd ed. (2010) D3.1, PPDS correlations. cp: Perry's Chemical Engineers'
-- Handbook 8th ed. Table 2-153 (DIPPR eq. 100); viscosity: Perry's Table 2-313 (DIPPR eq. 101).
-- Surface tension: VDI D3.1 PPDS.
-- Valid -40 to 75 C.
INSERT INTO PropertyRecord (NO, CN, EN, CP, MD, VI, TC, ST, HV, NT) VALUES
  ('027', '乙酸乙酯(液)', 'Ethyl acetate', '-40,1823;-30,1831;-20,1843;-10,1859;0,1877;10,1899;20,1925;30,1953;40,1985;50,2021;60,2059;75,2124', '-40,966.69;-30,956.01;-20,945.17;-10,934.16;0,922.98;10,911.61;20,900.04;30,888.26;40,876.25;50,863.98;60,851.45;75,832.09', 'exp(14.354-154.6/T-3.7887*ln(T))', '-40,0.167;-30,0.1635;-20,0.1599;-10,0.1564;0,0.1528;10,0.1492;20,0.1456;30,0.1421;40,0.1385;50,0.1349;60,0.1314;75,0.126', '0.05977*(1-T/523.2)^1.11993', '-40,4.4518E5;-30,4.3931E5;-20,4.3332E5;-10,4.2721E5;0,4.2095E5;10,4.1454E5;20,4.0795E5;30,4.0118E5;40,3.942E5;50,3.8701E5;60,3.7957E5;75,3.6793E5', 'VDI传热图册D3.1(PPDS);cp,粘度:Perry第8版表2-153/2-313;表面张力:VDI D3.1;-40~75C');

-- 028 正己烷(液) (n-Hexane (liquid))
-- Saturated liquid at the vessel temperature (above the normal boiling point the vessel must be under
-- at least the vapour pressure). Density, viscosity (as the PPDS equation in T), thermal conductivity,
-- latent heat: VDI Heat Atlas 2nd ed. (2010) D3.1, PPDS correlations. cp: Perry's Chemical Engineers'
-- Handbook 8th ed. Table 2-153 (DIPPR eq. 100).
-- Surface tension: Jasper, J. Phys. Chem. Ref. Data 1 (1972) 841, linear in t.
-- Valid -40 to 100 C. Jasper's surface-tension fit ends at 69 C; above it the line is extrapolated.
INSERT INTO PropertyRecord (NO, CN, EN, CP, MD, VI, TC, ST, HV, NT) VALUES
  ('028', '正己烷(液)', 'n-Hexane (liquid)', '-40,2060;-30,2088;-20,2117;-10,2149;0,2183;10,2219;20,2257;30,2297;40,2339;50,2383;60,2430;70,2478;80,2528;90,2581;100,2635', '-40,713.25;-30,704.49;-20,695.67;-10,686.77;0,677.79;10,668.72;20,659.55;30,650.26;40,640.85;50,631.28;60,621.56;70,611.64;80,601.52;90,591.15;100,580.5', '5.657E-5*exp(0.69508*((704.295-T)/(T-16.747))^(1/3)+0.53665*((704.295-T)/(T-16.747))^(4/3))', '-40,0.1426;-30,0.139;-20,0.1355;-10,0.132;0,0.1285;10,0.1249;20,0.1214;30,0.1179;40,0.1143;50,0.1108;60,0.1072;70,0.1037;80,0.1002;90,0.09668;100,0.09318', '0.02044-0.0001022*t', '-40,4.0642E5;-30,4.0022E5;-20,3.9404E5;-10,3.8784E5;0,3.8158E5;10,3.7525E5;20,3.6881E5;30,3.6223E5;40,3.5548E5;50,3.4853E5;60,3.4135E5;70,3.3391E5;80,3.2617E5;90,3.1809E5;100,3.0962E5', 'VDI传热图册D3.1(PPDS);cp:Perry第8版表2-153;表面张力:Jasper 1972;-40~100C');

-- 029 异丙醇(液) (Isopropanol (liquid))
-- Saturated liquid at the vessel temperature (above the normal boiling point the vessel must be under
-- at least the vapour pressure). Density, viscosity (as the PPDS equation in T), thermal conductivity,
-- latent heat: VDI Heat Atlas 2nd ed. (2010) D3.1, PPDS correlations. cp: Perry's Chemical Engineers'
-- Handbook 8th ed. Table 2-153 (DIPPR eq. 100).
-- Surface tension: Jasper, J. Phys. Chem. Ref. Data 1 (1972) 841, linear in t.
-- Valid -40 to 80 C.
INSERT INTO PropertyRecord (NO, CN, EN, CP, MD, VI, TC, ST, HV, NT) VALUES
  ('029', '异丙醇(液)', 'Isopropanol (liquid)', '-40,1964;-30,2030;-20,2111;-10,2204;0,2309;10,2424;20,2546;30,2676;40,2811;50,2951;60,3093;70,3236;80,3378', '-40,837.41;-30,829.37;-20,821.15;-10,812.75;0,804.16;10,795.36;20,786.35;30,777.11;40,767.62;50,757.87;60,747.83;70,737.48;80,726.79', '7.42E-6*exp(3.07172*((580.414-T)/(T+62.691))^(1/3)+3.84587*((580.414-T)/(T+62.691))^(4/3))', '-40,0.1498;-30,0.1475;-20,0.1452;-10,0.1429;0,0.1407;10,0.1384;20,0.1361;30,0.1338;40,0.1316;50,0.1293;60,0.127;70,0.1247;80,0.1225', '0.0229-7.89E-5*t', '-40,8.0863E5;-30,8.0598E5;-20,8.0171E5;-10,7.9591E5;0,7.8862E5;10,7.7989E5;20,7.6978E5;30,7.583E5;40,7.455E5;50,7.3139E5;60,7.1599E5;70,6.9932E5;80,6.8137E5', 'VDI传热图册D3.1(PPDS);cp:Perry第8版表2-153;表面张力:Jasper 1972;-40~80C');

-- 030 乙酸(液) (Acetic acid (liquid))
-- Glacial acetic acid (freezes at 16.6 C). Its vapour is partly dimerized: the latent heat is the VDI value.
-- Viscosity: VDI and Perry's Table 2-313 agree (1.13 and 1.12 mPa s at 25 C); the CRC Handbook lists 1.056,
-- 6 % lower - the handbook correlations are kept for their temperature range.
-- Saturated liquid at the vessel temperature (above the normal boiling point the vessel must be under
-- at least the vapour pressure). Density, viscosity (as the PPDS equation in T), thermal conductivity,
-- latent heat: VDI Heat Atlas 2nd ed. (2010) D3.1, PPDS correlations. cp: Perry's Chemical Engineers'
-- Handbook 8th ed. Table 2-153 (DIPPR eq. 100).
-- Surface tension: Jasper, J. Phys. Chem. Ref. Data 1 (1972) 841, linear in t.
-- Valid 20 to 110 C.
INSERT INTO PropertyRecord (NO, CN, EN, CP, MD, VI, TC, ST, HV, NT) VALUES
  ('030', '乙酸(液)', 'Acetic acid (liquid)', '20,2045;30,2081;40,2120;50,2161;60,2206;70,2254;80,2305;90,2359;100,2415;110,2475', '20,1047.8;30,1037.3;40,1026.7;50,1016;60,1005.1;70,994.01;80,982.77;90,971.32;100,959.67;110,947.79', '9.963E-5*exp(1.74793*((482.347-T)/(T-41.78))^(1/3)+1.33728*((482.347-T)/(T-41.78))^(4/3))', '20,0.1601;30,0.1583;40,0.1565;50,0.1547;60,0.1529;70,0.151;80,0.1491;90,0.1473;100,0.1455;110,0.1437', '0.02958-9.94E-5*t', '20,3.9056E5;30,3.9013E5;40,3.9023E5;50,3.9073E5;60,3.9154E5;70,3.9257E5;80,3.9372E5;90,3.9493E5;100,3.961E5;110,3.9717E5', 'VDI传热图册D3.1(PPDS);cp:Perry第8版表2-153;表面张力:Jasper 1972;20~110C');

COMMIT;
