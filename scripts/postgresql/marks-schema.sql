-- The mark database on PostgreSQL as a company's shipment server holds it: the schema dbo with
-- the mark table md, the three shipment tables the view VMD reads, the view with its Chinese
-- column names, and the demo shipments of the embedded SQLite database. Upper-case names are
-- quoted, so that they keep their letter case as the shipment server spells them.
create schema dbo;

create table dbo.md (
  customerid varchar(20) not null,
  mdid varchar(20) not null,
  flag varchar(1) not null constraint "DF_md_flag" default '0',
  data bytea,
  constraint "PK_md" primary key (customerid, mdid, flag));

create table dbo."TRABILLMAIN" (
  "SBILL1NO" varchar(20) not null primary key, "SYSTEMNO" integer not null, "FLAG" integer not null,
  "SHIPFROM" varchar(40), "SHIPTO" varchar(40), "VIA" varchar(40));
create table dbo."INVENTORYMAIN" (
  "INVENTORYNO" varchar(20) not null primary key, "SBILL1NO" varchar(20) not null, "FACTID" varchar(20) not null);
create table dbo."TRAPACKINGSUB" (
  "SHIPPINGBILLNO" varchar(20) not null, "ITEMNO" integer not null, "INVENTORYBILL1NO" varchar(20) not null,
  "PRODUCTID" varchar(20), "QUANTITY" integer, "CUFT" numeric(10,3), "NW" numeric(10,2), "GW" numeric(10,2),
  primary key ("SHIPPINGBILLNO", "ITEMNO"));

create view dbo."VMD" as select
  dbo."TRAPACKINGSUB"."SHIPPINGBILLNO" as "PACKING單號",
  dbo."TRABILLMAIN"."SBILL1NO" as "出口文件單號",
  dbo."INVENTORYMAIN"."FACTID" as "客戶編號",
  dbo."TRABILLMAIN"."SHIPFROM" as "SHIPFROM",
  dbo."TRABILLMAIN"."SHIPTO" as "SHIPTO",
  dbo."TRABILLMAIN"."VIA" as "VIA",
  dbo."TRAPACKINGSUB"."PRODUCTID" as "產品編號",
  dbo."TRAPACKINGSUB"."QUANTITY" as "數量",
  dbo."TRAPACKINGSUB"."CUFT" as "CUFT",
  dbo."TRAPACKINGSUB"."NW" as "NW",
  dbo."TRAPACKINGSUB"."GW" as "GW"
  from dbo."INVENTORYMAIN"
  inner join dbo."TRABILLMAIN" on dbo."INVENTORYMAIN"."SBILL1NO" = dbo."TRABILLMAIN"."SBILL1NO"
  inner join dbo."TRAPACKINGSUB" on dbo."TRABILLMAIN"."SBILL1NO" = dbo."TRAPACKINGSUB"."INVENTORYBILL1NO"
  where dbo."TRABILLMAIN"."SYSTEMNO" = 6 and dbo."TRABILLMAIN"."FLAG" = 5;

insert into dbo."TRABILLMAIN" ("SBILL1NO", "SYSTEMNO", "FLAG", "SHIPFROM", "SHIPTO", "VIA") values
  ('EX2401001', 6, 5, 'KEELUNG', 'LOS ANGELES', 'BY SEA'),
  ('EX2401002', 6, 5, 'TAICHUNG', 'HAMBURG', 'BY SEA'),
  ('EX2401003', 6, 3, 'KAOHSIUNG', 'ROTTERDAM', 'BY SEA'),
  ('EX2401004', 2, 5, 'TAOYUAN', 'TOKYO', 'BY AIR'),
  ('EX2401005', 6, 5, 'KEELUNG', 'SYDNEY', 'BY SEA'),
  ('EX2401006', 6, 5, 'KEELUNG', 'SEATTLE', 'BY SEA');
insert into dbo."INVENTORYMAIN" ("INVENTORYNO", "SBILL1NO", "FACTID") values
  ('IV2401001', 'EX2401001', 'C001'),
  ('IV2401002', 'EX2401002', 'C002'),
  ('IV2401003', 'EX2401003', 'C001'),
  ('IV2401004', 'EX2401004', 'C003'),
  ('IV2401006', 'EX2401006', 'C001');
insert into dbo."TRAPACKINGSUB" ("SHIPPINGBILLNO", "ITEMNO", "INVENTORYBILL1NO", "PRODUCTID", "QUANTITY",
                                 "CUFT", "NW", "GW") values
  ('PK2401001', 1, 'EX2401001', 'TB-100', 120, 12.5, 180.0, 196.5),
  ('PK2401001', 2, 'EX2401001', 'TB-120', 80, 9.8, 132.0, 144.0),
  ('PK2401001', 3, 'EX2401001', 'LP-200', 40, 6.2, 96.5, 104.0),
  ('PK2401002', 1, 'EX2401002', 'HS-010', 300, 20.4, 240.0, 262.5),
  ('PK2401002', 2, 'EX2401002', 'HS-020', 150, 11.0, 150.0, 163.0),
  ('PK2401003', 1, 'EX2401003', 'TB-100', 60, 6.3, 90.0, 98.0),
  ('PK2401004', 1, 'EX2401004', 'LP-200', 20, 3.1, 48.0, 52.0),
  ('PK2401005', 1, 'EX2401005', 'HS-010', 100, 6.8, 80.0, 88.0),
  ('PK2401006', 1, 'EX2401006', 'TB-120', 50, 6.0, 82.5, 90.0),
  ('PK2401007', 1, 'EX2401006', 'LP-200', 30, 4.6, 72.0, 78.0);
